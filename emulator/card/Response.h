#pragma once

#include "Bytes.h"

#include <cstdint>
#include <exception>

namespace qvcard {

// What a command handler answers: data (possibly empty) and the final status word.
struct Response {
    Bytes data;
    std::uint16_t sw = 0x9000;
    // The command restarts the token: after answering, the card leaves the bus for a while.
    bool leaveBus = false;
};

// Status words the card answers with, named as ISO 7816-4 and the card's own table name them.
namespace sw {
constexpr std::uint16_t ok = 0x9000;
constexpr std::uint16_t wrongLength = 0x6700;
constexpr std::uint16_t noRight = 0x6982;
constexpr std::uint16_t blocked = 0x6983;
constexpr std::uint16_t conditions = 0x6985;
constexpr std::uint16_t noCurrentEf = 0x6986;
constexpr std::uint16_t chainBroken = 0x6883;
constexpr std::uint16_t invalidData = 0x6A80;
constexpr std::uint16_t fileNotFound = 0x6A82;
constexpr std::uint16_t recordNotFound = 0x6A83;
constexpr std::uint16_t noMemory = 0x6A84;
constexpr std::uint16_t badP1P2 = 0x6A86;
constexpr std::uint16_t referenceNotFound = 0x6A88;
constexpr std::uint16_t fileExists = 0x6A89;
constexpr std::uint16_t noSpaceForRecord = 0x6381;
constexpr std::uint16_t unknownIns = 0x6D00;
constexpr std::uint16_t unknownCla = 0x6E00;
constexpr std::uint16_t pinPolicy = 0x6F8C;
constexpr std::uint16_t pinReused = 0x6F8D;
constexpr std::uint16_t triesLeft = 0x63C0; // OR the remaining count
} // namespace sw

// Ends a handler with a status word and no data.
class CardRefusal : public std::exception {
public:
    explicit CardRefusal(std::uint16_t statusWord) : sw_(statusWord) {}
    std::uint16_t sw() const { return sw_; }
    const char* what() const noexcept override { return "card refused the command"; }

private:
    std::uint16_t sw_;
};

} // namespace qvcard
