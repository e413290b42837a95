#pragma once

#include <cstdint>
#include <string>

namespace logging {

// Opens one token's record; every later record of the token arrives under serialNumber.
struct OperationRecord {
    std::string timestamp;
    std::string model;
    std::uint64_t serialNumber = 0;
};

} // namespace logging
