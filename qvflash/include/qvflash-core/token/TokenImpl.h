#pragma once

#include <qvflash-core/local/LocalLoginDirectory.h>
#include <qvflash-core/local/LocalPin.h>
#include <qvflash-core/local/MVA.h>
#include <qvflash-core/pcsc/Scard.h>
#include <qvflash-core/token/Token.h>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace qvfl {

// How long a token reset waits for the token to come back, and how often it
// looks.
struct ResetPolling {
    std::chrono::steady_clock::duration deadline = std::chrono::seconds(60);
    std::chrono::steady_clock::duration interval = std::chrono::seconds(1);
};

// The token over its card handle. Operations of each area are defined in
// their own source files.
class TokenImpl : public Token {
public:
    explicit TokenImpl(std::shared_ptr<Scard> scard);
    ~TokenImpl() override;
    TokenImpl(const TokenImpl&) = delete;
    TokenImpl& operator=(const TokenImpl&) = delete;

    // Logins (TokenImplLogin.cpp).
    void login(std::vector<std::shared_ptr<Login>>&& newLogins) override;
    std::uint16_t getRemainigLoginAttempts(const std::shared_ptr<Login>& login) override;
    void logout() override;

    // Token core (TokenImpl.cpp).
    void unblockPin() override;
    bool isSupported() const override;

    // Sections, access rights and the token reset (TokenImplSections.cpp).
    void splitIntoSections(const std::vector<Section>& sections,
                           const std::shared_ptr<ScardEnumerator>& enumerator) override;
    void changeAccessRights(std::uint8_t sectionId, Section::AccessState state, bool permanent,
                            const std::shared_ptr<ScardEnumerator>& enumerator) override;
    SectionMap getSectionsAttributes() const override;
    std::uint32_t getSizeAvailableForFormatting() override;

    // Restarts the token, then looks for a card with its serial number until
    // the deadline and moves that card's connection into the token's card
    // handle. Every other answer, any card's refusal included, is passed over:
    // only the serial tells the token. At the deadline: 100022, with condition
    // 17 naming the last refusal seen meanwhile, if any.
    void resetToken(const std::shared_ptr<ScardEnumerator>& enumerator);
    void resetToken(const std::shared_ptr<ScardEnumerator>& enumerator, const ResetPolling& polling);

    // Security event journal (TokenImplJournal.cpp).
    void logPcInfo(PcInfo&& info) override;

    // MVA objects (TokenImplMva.cpp).
    std::shared_ptr<Login> createMvaLogin(std::uint16_t mvaId, std::vector<std::uint8_t> record) override;
    std::shared_ptr<Login> createMvaLogin(std::uint16_t mvaId, Login::NoAuthNeed_t) override;
    std::uint16_t createMva(std::uint8_t recordCount, std::uint8_t recordSize, std::uint8_t attempts) override;
    std::vector<std::uint16_t> getMvaIdList() override;
    std::uint8_t addMvaRecord(std::uint16_t mvaId, const std::vector<std::uint8_t>& record) override;
    void eraseRecordFromMva(std::uint16_t mvaId, std::uint8_t recordId) override;
    void clearMva(std::uint16_t mvaId) override;
    void unblockMva(std::uint16_t mvaId) override;
    // 100027 when the id names a local PIN.
    std::shared_ptr<MVA> getMva(std::uint16_t id);

    // Local PINs and the local-login directory (TokenImplLocalPin.cpp).
    using FileInfo = LocalLoginFile;
    std::shared_ptr<Login> createLocalPinLogin(std::uint16_t id, std::vector<std::uint8_t> pin) override;
    std::shared_ptr<Login> createLocalPinLogin(std::uint16_t id, Login::NoAuthNeed_t) override;
    std::uint16_t createLocalPin(std::vector<std::uint8_t> pin, std::uint8_t attempts,
                                 CoreSecureType secureType) override;
    void changeLocalPin(std::uint16_t id, std::vector<std::uint8_t> newPin) override;
    std::vector<std::uint16_t> getLocalPinIdList() override;
    void unblockLocalPin(std::uint16_t id) override;
    LocalSecretType getLocalSecretType(std::uint16_t id) const override;
    // 100027 when the id names an MVA object.
    std::shared_ptr<LocalPin> getLocalPin(std::uint16_t id);
    std::uint16_t getFirstFreeLocalLoginId() const;
    void getLocalLoginFiles(const std::function<void(FileInfo&&)>& visitor) const;

private:
    // resetToken after the card took `change`: a failure then carries condition 16 naming the
    // change, so that the caller does not take it for a refused change.
    void resetAfterChange(const std::shared_ptr<ScardEnumerator>& enumerator, const char* change);
    void sendChunk(std::uint8_t cla, const std::vector<std::uint8_t>& chunk);
    // 6002 unless an admin login is remembered.
    void requireAdminLogin() const;

    std::shared_ptr<Scard> scard;
    // Remembered logins, in the order the card accepted them.
    std::vector<std::shared_ptr<Login>> logins;
};

} // namespace qvfl
