#include "qvtoken-core/Bytes.h"

#include "qvtoken-core/Errors.h"

namespace qvtoken {

std::string toHex(const Bytes& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 0x0F];
    }
    return text;
}

std::string toSpacedHex(const Bytes& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (unsigned char b : bytes) {
        if (!text.empty()) {
            text += ' ';
        }
        text += digits[b >> 4];
        text += digits[b & 0x0F];
    }
    return text;
}

namespace {

int nibble(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    throw BadHexError();
}

} // namespace

Bytes fromHex(const std::string& text)
{
    Bytes bytes;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        if (i + 1 >= text.size())
            throw BadHexError();
        bytes.push_back(static_cast<unsigned char>(nibble(text[i]) << 4 | nibble(text[i + 1])));
        i += 2;
    }
    return bytes;
}

Bytes bytesOf(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

} // namespace qvtoken
