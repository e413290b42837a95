#pragma once

#include "logging/OperationRecord.h"
#include "logging/PinRecord.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace logging {

// Everything known about one token until its flush.
struct FullRecord {
    OperationRecord operation;
    std::vector<PinRecord> pins;
    std::optional<std::string> error;
    std::optional<std::uint16_t> mvaId;
    std::optional<std::uint64_t> localId;
};

} // namespace logging
