#pragma once

#include <string>
#include <vector>

namespace qvtoken {

// Raw byte strings of the token: PIN values, card records, attribute values.
using Bytes = std::vector<unsigned char>;

// Lower-case hex without separators; the form byte strings take in the state files.
std::string toHex(const Bytes& bytes);

// Upper-case hex with one blank between bytes ("00 A4 08 04"); the form of the APDU log.
std::string toSpacedHex(const Bytes& bytes);

// Accepts upper or lower case, optional blanks between bytes; throws BadHexError otherwise.
Bytes fromHex(const std::string& text);

Bytes bytesOf(const std::string& text);

} // namespace qvtoken
