#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qvcard {

using Bytes = std::vector<std::uint8_t>;

// Hex text with one blank between bytes ("00 A4 08 04"), the form of the APDU log.
std::string toHex(const Bytes& bytes);

// Accepts hex digits with optional blanks; throws std::invalid_argument on anything else.
Bytes fromHex(const std::string& text);

} // namespace qvcard
