#pragma once

#include <cstdint>
#include <iosfwd>

// A count that the token keeps in one byte (a PIN length, a history depth), read from the
// command line as a decimal number. A number outside 0 to 255 fails the stream, so the parser
// refuses it instead of the token storing its low eight bits.
struct ByteCount {
    std::uint8_t value = 0;
};

std::istream& operator>>(std::istream& in, ByteCount& count);
// The number, in decimal.
std::ostream& operator<<(std::ostream& out, ByteCount count);
