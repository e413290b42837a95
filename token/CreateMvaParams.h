#pragma once

#include <cstdint>

// A new MVA object; the flash library takes each field in 8 bits.
struct CreateMvaParams {
    std::int64_t maxRecordCount = 0;
    std::int64_t maxRecordSize = 0;
    std::int64_t attempts = 0;
};
