#pragma once

#include <string>
#include <vector>

namespace qvfl_utils {

// Where the snapshot's hardware lists come from.
class IHwParamsGetter {
public:
    virtual ~IHwParamsGetter() = default;
    // The serial numbers of the non-detachable drives, in the order found.
    virtual std::vector<std::string> internalHardDiskSerials() const = 0;
    // The processor brand name, once per processor package.
    virtual std::vector<std::string> cpuModels() const = 0;
};

} // namespace qvfl_utils
