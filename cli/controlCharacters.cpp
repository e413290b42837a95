#include "cli/controlCharacters.h"

#include <cstddef>

namespace {
constexpr char kHexDigits[] = "0123456789abcdef";
constexpr unsigned char kDelete = 0x7F;
constexpr unsigned char kC1First = 0x80;
constexpr unsigned char kC1Last = 0x9F;
// The lead byte of the two-byte UTF-8 forms of U+0080 to U+00BF.
constexpr unsigned char kC1Lead = 0xC2;

// How a piece of the text is written: one character, or one byte that is not valid UTF-8.
struct Piece {
    std::size_t length;
    bool control;
};

bool isContinuation(const std::string& text, std::size_t at, unsigned char low = 0x80, unsigned char high = 0xBF)
{
    if (at >= text.size()) {
        return false;
    }
    const auto byte = static_cast<unsigned char>(text[at]);
    return byte >= low && byte <= high;
}

// The length of the valid UTF-8 sequence of two or more bytes that starts at `at` (no overlong
// forms, no surrogates, nothing above U+10FFFF), or 0 when none does.
std::size_t multiByteLength(const std::string& text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead >= 0xC2 && lead <= 0xDF) {
        return isContinuation(text, at + 1) ? 2 : 0;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
        return isContinuation(text, at + 1, low, high) && isContinuation(text, at + 2) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
        return isContinuation(text, at + 1, low, high) && isContinuation(text, at + 2) && isContinuation(text, at + 3)
                   ? 4
                   : 0;
    }
    return 0;
}

Piece pieceAt(const std::string& text, std::size_t at)
{
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < kC1First) {
        return {1, byte < 0x20 || byte == kDelete};
    }
    if (const auto length = multiByteLength(text, at); length != 0) {
        return {length, byte == kC1Lead && isContinuation(text, at + 1, kC1First, kC1Last)};
    }
    return {1, byte <= kC1Last};
}

void appendHex(std::string& out, unsigned char byte)
{
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0F];
}

void appendEscape(std::string& out, const std::string& text, const Piece& piece, std::size_t at)
{
    const auto byte = static_cast<unsigned char>(text[at]);
    if (piece.length == 2) {
        out += "\\u00";
        appendHex(out, static_cast<unsigned char>(text[at + 1]));
        return;
    }
    switch (byte) {
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
        appendHex(out, byte);
    }
}
} // namespace

bool hasControlCharacters(const std::string& text)
{
    for (std::size_t at = 0; at < text.size();) {
        const auto piece = pieceAt(text, at);
        if (piece.control) {
            return true;
        }
        at += piece.length;
    }
    return false;
}

std::string escapeControlCharacters(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto piece = pieceAt(text, at);
        if (piece.control) {
            appendEscape(out, text, piece, at);
        } else {
            out.append(text, at, piece.length);
        }
        at += piece.length;
    }
    return out;
}
