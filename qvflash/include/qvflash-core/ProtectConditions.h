#pragma once

#include <cstdint>

namespace qvfl {

// Who may perform one access-switching operation of a section: one byte of
// flags, bit 0 first. At most one of the secret kinds (bits 2, 3, 4) may be
// set, and it names the secret id carried beside it.
class ProtectConditions {
public:
    static constexpr std::uint8_t kAdmin = 0x01;
    static constexpr std::uint8_t kUser = 0x02;
    static constexpr std::uint8_t kLocalSecret = 0x04; // local PIN or MVA, id 3..31
    static constexpr std::uint8_t kComplexRule = 0x08; // id 1..31
    static constexpr std::uint8_t kKey = 0x10;         // id 16..31

    // Throws std::invalid_argument for a combination that is not a valid byte.
    ProtectConditions(bool admin, bool user, bool localSecret, bool complexRule, bool key, bool bit5, bool bit6,
                      bool bit7);

    // The byte as carried, unchecked: what a caller handed over is judged
    // where it is sent (isValid).
    static ProtectConditions fromByte(std::uint8_t value);

    std::uint8_t value() const { return value_; }
    bool has(std::uint8_t flag) const { return (value_ & flag) != 0; }
    // Below 32 and at most one secret kind.
    bool isValid() const;

private:
    explicit ProtectConditions(std::uint8_t value) : value_(value) {}

    std::uint8_t value_;
};

bool operator==(const ProtectConditions& left, const ProtectConditions& right);

} // namespace qvfl
