#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// The first "model name" of cpuinfo; on x86 the processor's own brand string.
std::optional<std::string> cpuBrandString();

// The number of processor packages: the distinct non-negative package ids of
// the CPU topology, else the distinct "physical id" values of cpuinfo, else 1
// when cpuinfo lists a processor.
std::optional<std::int32_t> cpuPackageCount();

} // namespace platform
