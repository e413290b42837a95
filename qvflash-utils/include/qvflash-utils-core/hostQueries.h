#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The host queries behind HwParamsGetter, with the system calls they make as
// parameters so that other hosts can stand in.
namespace qvfl_utils::detail {

using SysctlFunction = int (*)(const char* name, void* value, std::size_t* length, void* newValue,
                               std::size_t newLength);

// Runs the profiler (a shell word: a name or a quoted path) once per storage
// data type and collects the internal drives' serials of all of them.
std::vector<std::string> internalHardDiskSerials(const std::string& profiler);

// The serials of the drives whose "Detachable Drive" is "No" in one data
// type's filtered profiler output, in their order.
std::vector<std::string> internalSerials(const std::string& output);

// The brand string once per processor package.
std::vector<std::string> cpuModels(SysctlFunction sysctl);

} // namespace qvfl_utils::detail
