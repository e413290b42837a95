#include "Bytes.h"

#include <cctype>
#include <stdexcept>

namespace qvcard {

std::string toHex(const Bytes& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::uint8_t b : bytes) {
        if (!text.empty()) {
            text += ' ';
        }
        text += digits[b >> 4];
        text += digits[b & 0x0F];
    }
    return text;
}

Bytes fromHex(const std::string& text)
{
    Bytes bytes;
    int high = -1;
    for (char c : text) {
        if (c == ' ' || c == ':') {
            continue;
        }
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            throw std::invalid_argument("not a hex string: " + text);
        }
        const int value = std::isdigit(static_cast<unsigned char>(c))
            ? c - '0'
            : std::toupper(static_cast<unsigned char>(c)) - 'A' + 10;
        if (high < 0) {
            high = value;
        } else {
            bytes.push_back(static_cast<std::uint8_t>((high << 4) | value));
            high = -1;
        }
    }
    if (high >= 0) {
        throw std::invalid_argument("odd number of hex digits: " + text);
    }
    return bytes;
}

} // namespace qvcard
