#include "cli/controlCharacters.h"

#include <algorithm>

namespace {
constexpr char kHexDigits[] = "0123456789abcdef";
constexpr unsigned char kDelete = 0x7F;

bool isControl(unsigned char c)
{
    return c < 0x20 || c == kDelete;
}

void appendEscape(std::string& out, unsigned char c)
{
    switch (c) {
    case '\n':
        out += "\\n";
        return;
    case '\r':
        out += "\\r";
        return;
    case '\t':
        out += "\\t";
        return;
    default:
        out += "\\x";
        out += kHexDigits[c >> 4];
        out += kHexDigits[c & 0x0F];
    }
}
} // namespace

bool hasControlCharacters(const std::string& text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return isControl(static_cast<unsigned char>(c)); });
}

std::string escapeControlCharacters(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (isControl(byte)) {
            appendEscape(out, byte);
        } else {
            out += c;
        }
    }
    return out;
}
