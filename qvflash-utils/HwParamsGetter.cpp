#include <qvflash-utils-core/HwParamsGetter.h>

#include <qvflash-utils-core/hostQueries.h>

#include <platform/hostCalls.h>

namespace qvfl_utils {

const HwParamsGetter& HwParamsGetter::get()
{
    static const HwParamsGetter kInstance;
    return kInstance;
}

std::vector<std::string> HwParamsGetter::internalHardDiskSerials() const
{
    return detail::internalHardDiskSerials(platform::systemProfiler());
}

std::vector<std::string> HwParamsGetter::cpuModels() const
{
    return detail::cpuModels(&platform::sysctlbyname);
}

} // namespace qvfl_utils
