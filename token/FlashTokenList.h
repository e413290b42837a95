#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <set>

// The flash library's token list as one enumeration of tokens meets it: read when the first of
// its tokens asks, then kept for the others, so that finding N tokens asks every card once and
// not N times, and not at all when no operation needs the flash library. A failed read is not
// kept: the next token to ask reads again. Safe from the tasks of the parallel strategy.
class FlashTokenList {
public:
    // Empty when the list cannot be read: one card that cannot tell its serial fails the whole
    // list, so the asking token has to look for its own card instead.
    std::optional<bool> lists(std::uint64_t serial);

private:
    std::mutex mutex_;
    std::optional<std::set<std::uint64_t>> serials_;
};
