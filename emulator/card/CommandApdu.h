#pragma once

#include "Bytes.h"

#include <cstdint>
#include <optional>

namespace qvcard {

// A short command APDU as it arrives from vpcd. Only the ISO 7816-4 short forms exist on this
// card: header, optional Lc + data, optional Le.
class CommandApdu {
public:
    // Throws MalformedApdu when the length bytes disagree with the message length.
    explicit CommandApdu(const Bytes& raw);

    std::uint8_t cla() const { return raw_[0]; }
    std::uint8_t ins() const { return raw_[1]; }
    std::uint8_t p1() const { return raw_[2]; }
    std::uint8_t p2() const { return raw_[3]; }
    const Bytes& data() const { return data_; }
    // True when an Lc byte was present, even an Lc of zero.
    bool hasLc() const { return hasLc_; }
    // Le as sent (0 stands for 256); empty when the command carries no Le.
    std::optional<std::uint8_t> le() const { return le_; }
    // Expected length in bytes: Le, with 00 read as 256.
    std::size_t expected() const { return le_ ? (*le_ == 0 ? 256 : *le_) : 0; }
    const Bytes& raw() const { return raw_; }

private:
    Bytes raw_;
    Bytes data_;
    bool hasLc_ = false;
    std::optional<std::uint8_t> le_;
};

class MalformedApdu : public std::exception {
public:
    const char* what() const noexcept override { return "malformed command APDU"; }
};

} // namespace qvcard
