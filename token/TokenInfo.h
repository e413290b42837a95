#pragma once

#include "token/types/PinChangePolicy.h"

#include <cstdint>
#include <string>

struct TokenInfo {
    std::string label;
    std::uint64_t serialNumber = 0;
    // Bytes.
    std::uint64_t totalMemory = 0;
    std::uint64_t freeMemory = 0;
    std::uint64_t maxSoPinLength = 0;
    std::uint64_t minSoPinLength = 0;
    std::uint64_t maxUserPinLength = 0;
    std::uint64_t minUserPinLength = 0;
    std::uint64_t maxSoRetryCount = 0;
    std::uint64_t soRetriesLeft = 0;
    std::uint64_t maxUserRetryCount = 0;
    std::uint64_t userRetriesLeft = 0;
    PinChangePolicy pinChangePolicy = PinChangePolicy::User;
    // The model identification string.
    std::string model;
};
