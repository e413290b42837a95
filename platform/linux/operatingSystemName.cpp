#include <platform/hostCalls.h>

#include "osRelease.h"

namespace platform {

std::string operatingSystemName()
{
    // os-release's own default for a missing NAME.
    return osReleaseField("NAME").value_or("Linux");
}

} // namespace platform
