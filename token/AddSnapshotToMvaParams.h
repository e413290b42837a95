#pragma once

#include <cstdint>
#include <vector>

struct AddSnapshotToMvaParams {
    std::uint16_t mvaId = 0;
    // A host snapshot, as the snapshot library gives it.
    std::vector<std::uint8_t> snapshot;
};
