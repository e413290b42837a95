#pragma once

#include <cstdint>

namespace logging {

// The number of an MVA object that the operation created.
struct MvaIdRecord {
    std::uint16_t id = 0;
};

} // namespace logging
