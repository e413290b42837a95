#pragma once

#include "flash/ObjectIdList.h"
#include "flash/SectionList.h"
#include "flash/UnblockedPins.h"
#include "qvflash.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string_view>
#include <vector>

namespace quorvik::qvflash {

enum class UserType { Admin = 0, User = 1 };

// Hands a token handle back to the library.
struct TokenHandleDeleter {
    void operator()(qvflash_TokenImpl_* handle) const noexcept { qvflash_destroy_token(&handle); }
};
using TokenHandle = std::unique_ptr<qvflash_TokenImpl_, TokenHandleDeleter>;

// The program's handle on one token's flash functions. PINs and snapshots go to the library as
// views of the caller's bytes: the library copies what it keeps, this class keeps nothing.
class Token {
    struct Passkey {};

public:
    // Null when the library does not list the serial or the token lacks the flash functions.
    static std::shared_ptr<Token> create(uint64_t serial);
    // The serials of the tokens the library lists now; every call asks every card again.
    static std::set<uint64_t> listSerials();
    // For a serial the library lists: null when the token lacks the flash functions.
    static std::shared_ptr<Token> open(uint64_t serial);
    // For a serial the list could not tell: null also when every card told its serial and none
    // has this one. A card that could not tell its own fails the call, as it may be this token.
    static std::shared_ptr<Token> find(uint64_t serial);

    Token(Passkey, uint64_t serial, TokenHandle handle);
    // Owns the library's handle and its card connection; only shared, never copied.
    Token(const Token&) = delete;
    Token& operator=(const Token&) = delete;

    uint64_t getSerial() const { return serial_; }

    std::shared_ptr<SectionList> getTokenVolumeInfo() const;
    // Megabytes available for splitting into sections.
    uint32_t getDriveSize() const;
    // What kind of login object `id` names; empty when none does.
    std::optional<qvflash_SecretType> getLocalSecretType(uint16_t id) const;
    std::shared_ptr<MvaList> getMvaList() const;

    uint16_t createMva(qvflash_MvaParams params);
    void clearMva(uint16_t id);
    uint8_t addSnapshotToMva(uint16_t id, const std::vector<uint8_t>& snapshot);
    uint16_t createLocalPin(std::string_view pin);
    void setLocalPin(uint16_t id, std::string_view pin);
    // Restores the attempts of the user PIN, then of every MVA, then of every local PIN; stops
    // at the first failure. `restored` names what was restored before it.
    void unblockPins(UnblockedPins& restored);
    void splitIntoSections(const std::vector<qvflash_Section>& sections);
    void changeSectionAccessRights(uint8_t id, qvflash_SectionAccessState state, bool permanent);

    void login(std::string_view pin, UserType type);
    void loginMva(uint16_t id, const std::vector<uint8_t>& snapshot);
    void loginLocal(uint16_t id, std::string_view pin);
    void logout();

    // Best effort: a token that cannot take the record still does the operation it logs.
    void addLogPcInfo(qvflash_PcInfo info);

private:
    // Null when the token lacks the flash functions.
    static std::shared_ptr<Token> ifSupported(uint64_t serial, TokenHandle handle);

    uint64_t serial_;
    TokenHandle handle_;
};

} // namespace quorvik::qvflash
