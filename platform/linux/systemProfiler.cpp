#include <platform/hostCalls.h>

namespace platform {

const char kSystemProfiler[] = "'" QV_SYSTEM_PROFILER_PATH "'";

} // namespace platform
