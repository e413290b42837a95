#include <qvflash-utils-core/hostQueries.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <system_error>

namespace qvfl_utils::detail {

std::vector<std::string> cpuModels(SysctlFunction sysctl)
{
    std::array<char, 256> brand{};
    std::size_t brandLength = brand.size();
    if (sysctl("machdep.cpu.brand_string", brand.data(), &brandLength, nullptr, 0) != 0) {
        throw std::system_error(errno, std::system_category(), "sysctlbyname(\"machdep.cpu.brand_string\")");
    }
    std::int32_t packages = 0;
    std::size_t packagesLength = sizeof packages;
    if (sysctl("hw.packages", &packages, &packagesLength, nullptr, 0) != 0) {
        throw std::system_error(errno, std::system_category(), "sysctlbyname(\"hw.packages\")");
    }
    if (packages <= 0) {
        return {};
    }
    // Up to the first NUL, and never past the buffer when a value has none.
    const std::string name(brand.data(), strnlen(brand.data(), brand.size()));
    return std::vector<std::string>(static_cast<std::size_t>(packages), name);
}

} // namespace qvfl_utils::detail
