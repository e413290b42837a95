#pragma once

#include "qvtoken-core/Bytes.h"

#include <cstddef>

namespace qvtoken {

enum class PinCheck { ok, incorrect, locked };

// A secret with its retry counter, as both the module and the card road see it: a wrong try
// counts down (never below 0), a blocked secret refuses even the right value, the right value
// restores the counter.
struct PinState {
    Bytes value;
    unsigned long minLength = 6;
    unsigned long maxLength = 32;
    unsigned long maxTries = 10;
    unsigned long triesLeft = 10;

    bool blocked() const { return triesLeft == 0; }
    PinCheck verify(const unsigned char* candidate, std::size_t length);
    bool lengthFits(std::size_t length) const { return length >= minLength && length <= maxLength; }
    void set(const unsigned char* newValue, std::size_t length);
    void unblock() { triesLeft = maxTries; }
};

} // namespace qvtoken
