#include <qvflash-core/ProtectConditions.h>

#include <stdexcept>

namespace qvfl {
namespace {

constexpr std::uint8_t kSecretKinds =
    ProtectConditions::kLocalSecret | ProtectConditions::kComplexRule | ProtectConditions::kKey;
constexpr std::uint8_t kFirstUnusedBit = 0x20;

std::uint8_t fromFlags(std::initializer_list<bool> flags)
{
    std::uint8_t value = 0;
    std::uint8_t bit = 1;
    for (const bool flag : flags) {
        if (flag) {
            value |= bit;
        }
        bit = static_cast<std::uint8_t>(bit << 1);
    }
    return value;
}

} // namespace

ProtectConditions::ProtectConditions(bool admin, bool user, bool localSecret, bool complexRule, bool key, bool bit5,
                                     bool bit6, bool bit7)
    : value_(fromFlags({admin, user, localSecret, complexRule, key, bit5, bit6, bit7}))
{
    if (!isValid()) {
        throw std::invalid_argument("invalid protect conditions combination");
    }
}

ProtectConditions ProtectConditions::fromByte(std::uint8_t value)
{
    return ProtectConditions(value);
}

bool ProtectConditions::isValid() const
{
    const unsigned secretKinds = value_ & kSecretKinds;
    // A power of two (or zero) has no second bit set.
    return value_ < kFirstUnusedBit && (secretKinds & (secretKinds - 1)) == 0;
}

bool operator==(const ProtectConditions& left, const ProtectConditions& right)
{
    return left.value() == right.value();
}

} // namespace qvfl
