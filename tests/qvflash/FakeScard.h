#pragma once

#include <qvflash-core/pcsc/Scard.h>

#include <cstdint>
#include <deque>
#include <vector>

// A card that answers from a script and keeps every command with the card
// transaction depth at which it came. An empty script answers 90 00.
class FakeScard : public qvfl::Scard {
public:
    struct Sent {
        std::vector<std::uint8_t> bytes;
        int lockDepth;
    };

    std::deque<Response> answers;
    std::vector<Sent> sent;
    int lockDepth = 0;

    Response transmit(const qvfl::Apdu& apdu) override
    {
        sent.push_back({apdu.toBuffer(), lockDepth});
        if (answers.empty()) {
            return {0x9000, {}};
        }
        Response answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void lock() override { ++lockDepth; }
    void unlock() override { --lockDepth; }
    void swap(qvfl::Scard&) override {}

    std::vector<std::vector<std::uint8_t>> commands() const
    {
        std::vector<std::vector<std::uint8_t>> bytes;
        for (const Sent& command : sent) {
            bytes.push_back(command.bytes);
        }
        return bytes;
    }
};
