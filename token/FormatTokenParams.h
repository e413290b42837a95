#pragma once

#include "token/types/PinChangePolicy.h"

#include <cstdint>
#include <string>

// What a token format sets; the command copies it into each token's task.
struct FormatTokenParams {
    // The current admin PIN; unused when the token is repaired.
    std::string authPin;
    std::string newSoPin;
    std::string newUserPin;
    std::string label;
    std::uint64_t minSoPinLength = 0;
    std::uint64_t minUserPinLength = 0;
    std::uint64_t maxSoRetryCount = 0;
    std::uint64_t maxUserRetryCount = 0;
    // The admin PIN is unknown: block it first, then format without it.
    bool repair = false;
    PinChangePolicy pinChangePolicy = PinChangePolicy::User;
};
