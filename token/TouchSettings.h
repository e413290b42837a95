#pragma once

#include "token/types/TouchMode.h"

#include <cstdint>

struct TouchSettings {
    TouchMode mode = TouchMode::Discrete;
    // Seconds.
    std::uint64_t presentTimeLimit = 0;
    // Seconds.
    std::uint64_t actionTimeout = 0;
};
