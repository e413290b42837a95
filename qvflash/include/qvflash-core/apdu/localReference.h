#pragma once

#include <cstdint>

namespace qvfl {

// The login type shared by local PINs and MVA objects.
constexpr std::uint8_t kLocalLoginType = 4;

// The card's reference of a local PIN or MVA object: its file identifier's
// low byte with bit 7 set (83 to 9F for the identifiers 3 to 31).
constexpr std::uint8_t localReference(std::uint16_t id)
{
    return static_cast<std::uint8_t>(0x80 | (id & 0xFF));
}

} // namespace qvfl
