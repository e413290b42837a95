#pragma once

#include <qvflash-core/pcsc/Scard.h>

#include <cstdint>
#include <vector>

namespace qvfl {

constexpr std::uint16_t kStatusSuccess = 0x9000;

// Sends one command and returns its data; any status word but 9000 throws
// the ApduException of that word.
std::vector<std::uint8_t> transmitChecked(Scard& scard, const Apdu& apdu);

} // namespace qvfl
