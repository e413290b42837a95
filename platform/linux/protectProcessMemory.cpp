#include <platform/hostCalls.h>

#include <sys/prctl.h>

namespace platform {

int protectProcessMemory()
{
    return prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
}

} // namespace platform
