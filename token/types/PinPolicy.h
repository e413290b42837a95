#pragma once

#include <cstdint>

// The token's user PIN policy, one field per attribute of its PIN-policy object.
struct PinPolicy {
    bool removeOnFormat = false;
    bool allowChanging = false;
    bool defaultPinAllowed = false;
    bool digitRequired = false;
    bool uppercaseRequired = false;
    bool lowercaseRequired = false;
    bool specCharRequired = false;
    bool diffCharsRequired = false;
    std::uint8_t minLength = 0;
    std::uint8_t historyDepth = 0;
};
