#pragma once

#include <cstdint>

// The lengths a token allows for one of its PINs.
struct PinLengths {
    std::uint64_t min = 0;
    std::uint64_t max = 0;
};
