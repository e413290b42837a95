#pragma once

#include <qvflash-utils-core/IHwParamsGetter.h>

namespace qvfl_utils {

// The running host's hardware, asked again on every call.
class HwParamsGetter : public IHwParamsGetter {
public:
    static const HwParamsGetter& get();

    std::vector<std::string> internalHardDiskSerials() const override;
    std::vector<std::string> cpuModels() const override;
};

} // namespace qvfl_utils
