#pragma once

#include <qvflash-core/pcsc/Scard.h>

#include <cstddef>
#include <functional>

namespace qvfl {

// Sends command bytes and fills response (sized to the bytes that may come
// back) with what the card answered, status word included.
using RawTransmit = std::function<void(const std::vector<std::uint8_t>& command, std::vector<std::uint8_t>& response)>;

// A card that keeps announcing more data is cut off at this size of the answer, or after
// this many GET RESPONSE rounds (the size at 256 bytes a round).
constexpr std::size_t kMaxResponseSize = 64 * 1024;
constexpr std::size_t kMaxGetResponseRounds = kMaxResponseSize / 256;

// One complete command exchange: on T=0 the Le of a command with data is not
// sent; 6Cxx resends a command that ends with an Le once with the exact
// length; 61xx answers are gathered with GET RESPONSE, in order.
Scard::Response exchangeApdu(const Apdu& apdu, bool t0, const RawTransmit& transmitRaw);

// Removes the status word from the end of response and returns it.
std::uint16_t cutApduRetcode(std::vector<std::uint8_t>& response);

} // namespace qvfl
