#pragma once

#include <cstdint>
#include <string>

// One row of the token list.
struct BriefTokenInfo {
    std::string model;
    std::uint64_t serialNumber = 0;
};
