#pragma once

#include "token/TokenVolumeInfo.h"

#include <cstdint>
#include <vector>

struct TokenDriveInfo {
    std::uint64_t totalSize = 0;
    std::vector<TokenVolumeInfo> volumes;
};
