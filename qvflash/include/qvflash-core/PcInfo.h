#pragma once

#include <cstdint>
#include <string>

namespace qvfl {

// One host record of the security event journal: who worked on which
// computer, and when.
struct PcInfo {
    std::string userName;
    std::string domainName;
    std::string osVersion;
    std::string deviceName;
    // Seconds since 1970-01-01 00:00 UTC.
    std::int64_t time = 0;
};

} // namespace qvfl
