#pragma once

#include <cstdint>
#include <vector>

namespace quorvik::qvflash {

// The counters an unblocking restored, in its order, also when it stopped half-way.
struct UnblockedPins {
    bool user = false;
    std::vector<uint16_t> mvas;
    std::vector<uint16_t> localPins;
};

} // namespace quorvik::qvflash
