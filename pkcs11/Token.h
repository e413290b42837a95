#pragma once

#include "pkcs11/Pkcs11Interface.h"
#include "pkcs11/Session.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvik::pkcs11 {

namespace detail {
class Wrapper;
}

// The token a slot held at start-up, with the maker's extended operations on it. Once the module
// reports it missing when a session is opened, it stays absent for the rest of the run.
class Token {
public:
    Token(const detail::Wrapper& wrapper, CK_SLOT_ID slot, const CK_SLOT_INFO& info);

    const std::string& description() const noexcept { return description_; }
    CK_SLOT_ID slotId() const noexcept { return slot_; }

    // Read once from the extended token information, then cached.
    std::uint64_t serialNumber() const;
    Session openSession(Session::Flags flags);

    CK_TOKEN_INFO getTokenInfo() const;
    CK_TOKEN_INFO_EXTENDED getTokenInfoEx() const;
    std::vector<CK_VOLUME_INFO_EXTENDED> getTokenVolumeInfoEx() const;
    unsigned long getDriveSize() const;

    void formatToken(std::string_view soPin, CK_QUORVIK_INIT_PARAM* param) const;
    void formatDrive(std::string_view soPin, std::vector<CK_VOLUME_FORMAT_INFO_EXTENDED>& volumes) const;
    void setVolumeAccessMode(unsigned long userType, std::string_view pin, unsigned long volumeId,
                             unsigned long accessMode, unsigned char permanent) const;
    void setLocalPin(std::string_view userPin, std::string_view localPin, unsigned long localPinId) const;
    void createLocalPIN(std::string_view userPin, std::string_view localPin, unsigned long localPinId) const;

    // Empty when the token has no local PIN of that id.
    std::optional<LocalPinInfo> getLocalPinInfo(unsigned long localPinId) const;
    // False also when the module cannot answer the question.
    bool isTlsToken() const;

private:
    void throwIfAbsent() const;

    const detail::Wrapper& wrapper_;
    CK_SLOT_ID slot_;
    std::string description_;
    std::atomic<bool> present_{true};
    // Filled on the main thread while tokens are listed, before any task runs.
    mutable std::optional<std::uint64_t> serialNumber_;
};

} // namespace quorvik::pkcs11
