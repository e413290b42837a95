#pragma once

#include <qvflash-core/CoreSecureType.h>
#include <qvflash-core/LocalSecretType.h>
#include <qvflash-core/PcInfo.h>
#include <qvflash-core/Section.h>
#include <qvflash-core/login/Login.h>
#include <qvflash-core/pcsc/ScardEnumerator.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace qvfl {

// One connected flash-drive token. Operations that need rights present the
// remembered logins again inside their own card transaction and leave the
// card without rights.
class Token {
public:
    virtual ~Token() = default;

    // Verifies the given logins and remembers those the card accepts, in
    // order, up to the first one it rejects.
    virtual void login(std::vector<std::shared_ptr<Login>>&& logins) = 0;
    // Spends no attempt.
    virtual std::uint16_t getRemainigLoginAttempts(const std::shared_ptr<Login>& login) = 0;
    // Forgets the remembered logins; sends nothing.
    virtual void logout() = 0;

    // Writes one host record into the security event journal.
    virtual void logPcInfo(PcInfo&& info) = 0;
    // Repartitions the flash memory (journal sections already there stay),
    // then restarts the token and reconnects to it through the enumerator.
    virtual void splitIntoSections(const std::vector<Section>& sections,
                                   const std::shared_ptr<ScardEnumerator>& enumerator) = 0;
    // A permanent change restarts the token and reconnects to it.
    virtual void changeAccessRights(std::uint8_t sectionId, Section::AccessState state, bool permanent,
                                    const std::shared_ptr<ScardEnumerator>& enumerator) = 0;
    virtual SectionMap getSectionsAttributes() const = 0;
    // The size a repartitioning may distribute: the flash memory less the
    // journal sections.
    virtual std::uint32_t getSizeAvailableForFormatting() = 0;

    virtual std::shared_ptr<Login> createMvaLogin(std::uint16_t mvaId, std::vector<std::uint8_t> record) = 0;
    virtual std::shared_ptr<Login> createMvaLogin(std::uint16_t mvaId, Login::NoAuthNeed_t) = 0;
    virtual std::shared_ptr<Login> createLocalPinLogin(std::uint16_t id, std::vector<std::uint8_t> pin) = 0;
    virtual std::shared_ptr<Login> createLocalPinLogin(std::uint16_t id, Login::NoAuthNeed_t) = 0;

    // MVA objects; creating one and adding records need a remembered admin login.
    virtual std::uint16_t createMva(std::uint8_t recordCount, std::uint8_t recordSize, std::uint8_t attempts) = 0;
    virtual std::vector<std::uint16_t> getMvaIdList() = 0;
    virtual std::uint8_t addMvaRecord(std::uint16_t mvaId, const std::vector<std::uint8_t>& record) = 0;
    virtual void eraseRecordFromMva(std::uint16_t mvaId, std::uint8_t recordId) = 0;
    virtual void clearMva(std::uint16_t mvaId) = 0;
    virtual void unblockMva(std::uint16_t mvaId) = 0;

    // Local PINs.
    virtual std::uint16_t createLocalPin(std::vector<std::uint8_t> pin, std::uint8_t attempts,
                                         CoreSecureType secureType) = 0;
    virtual void changeLocalPin(std::uint16_t id, std::vector<std::uint8_t> pin) = 0;
    virtual std::vector<std::uint16_t> getLocalPinIdList() = 0;
    virtual void unblockLocalPin(std::uint16_t id) = 0;

    // Restores the user PIN's attempts; needs the admin's right.
    virtual void unblockPin() = 0;
    // Whether the token offers both the security event journal and partitioning.
    virtual bool isSupported() const = 0;
    // Whether a local id names a local PIN or an MVA object.
    virtual LocalSecretType getLocalSecretType(std::uint16_t id) const = 0;
};

} // namespace qvfl
