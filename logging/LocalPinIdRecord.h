#pragma once

#include <cstdint>

namespace logging {

// The number of a local PIN that the operation created.
struct LocalPinIdRecord {
    std::uint64_t id = 0;
};

} // namespace logging
