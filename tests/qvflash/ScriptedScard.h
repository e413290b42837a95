#pragma once

#include "FakeScard.h"
#include "hexBytes.h"

#include <string>
#include <vector>

// A FakeScard scripted in the notation of card traces: each answer is
// "data... SW1 SW2", and the commands sent read back as hex text.
class ScriptedScard : public FakeScard {
public:
    static Response response(const std::string& hex)
    {
        std::vector<std::uint8_t> bytes = hexBytes(hex);
        const auto word = static_cast<std::uint16_t>((bytes[bytes.size() - 2] << 8) | bytes.back());
        bytes.resize(bytes.size() - 2);
        return {word, bytes};
    }

    void answer(const std::string& hex) { answers.push_back(response(hex)); }

    std::vector<std::string> sentHex() const
    {
        std::vector<std::string> texts;
        for (const Sent& command : sent) {
            texts.push_back(toHex(command.bytes));
        }
        return texts;
    }

    static std::string toHex(const std::vector<std::uint8_t>& bytes)
    {
        static const char digits[] = "0123456789ABCDEF";
        std::string text;
        for (const std::uint8_t byte : bytes) {
            if (!text.empty()) {
                text += ' ';
            }
            text += digits[byte >> 4];
            text += digits[byte & 0x0F];
        }
        return text;
    }
};
