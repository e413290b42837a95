#pragma once

#include <chrono>
#include <cstdint>

namespace qvtoken::tool {

// Watches pcscd for the card of one token: a card that answers GET DATA with the token's
// serial. It sleeps in pcscd's own change notification between looks, so it costs nothing
// while waiting.
class CardWatch {
public:
    // Throws std::runtime_error when pcscd is not reachable.
    CardWatch();
    ~CardWatch();
    // Owns a PC/SC context; a copy would release it twice.
    CardWatch(const CardWatch&) = delete;
    CardWatch& operator=(const CardWatch&) = delete;

    // True once the token's card is in some reader (`present`), or (not `present`) once every
    // reader pcscd lists is empty or holds a card that answers with another token's serial;
    // false when the deadline passes first.
    bool waitUntil(std::uint64_t serial, bool present, std::chrono::steady_clock::time_point deadline);

private:
    unsigned long context_;
};

} // namespace qvtoken::tool
