#pragma once

#include "hexBytes.h"

#include <qvflash-core/Scard.h>

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

// A card that answers from a script of "data... SW1 SW2" lines and records
// every command it was sent, as hex text, with the card transaction depth at
// which it came.
class ScriptedScard : public qvfl::Scard {
public:
    void answer(const std::string& response) { answers.push_back(hexBytes(response)); }

    Response transmit(const qvfl::Apdu& apdu) override {
        sent.push_back(toHex(apdu.toBuffer()));
        depthAtSend.push_back(depth);
        if (answers.empty()) {
            throw std::logic_error("unexpected command " + sent.back());
        }
        std::vector<std::uint8_t> bytes = answers.front();
        answers.pop_front();
        const auto word = static_cast<std::uint16_t>((bytes[bytes.size() - 2] << 8) | bytes.back());
        bytes.resize(bytes.size() - 2);
        return {word, bytes};
    }
    void lock() override { ++depth; }
    void unlock() override { --depth; }
    void swap(qvfl::Scard&) override {}

    static std::string toHex(const std::vector<std::uint8_t>& bytes) {
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

    std::deque<std::vector<std::uint8_t>> answers;
    std::vector<std::string> sent;
    std::vector<int> depthAtSend;
    int depth = 0;
};
