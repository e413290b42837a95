#include "CallTrace.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace qvstandin {

CallTrace::~CallTrace()
{
    close();
}

void CallTrace::reopen()
{
    close();
    const char* path = std::getenv("QVSTANDIN_TRACE");
    if (path != nullptr && *path != '\0')
        fd_ = ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
}

void CallTrace::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

void CallTrace::record(const char* entry, const std::string& arguments, CK_RV rv) const
{
    if (fd_ < 0)
        return;
    char result[32];
    std::snprintf(result, sizeof result, "rv=0x%lx\n", rv);
    const std::string line = std::string(entry) + (arguments.empty() ? " " : " " + arguments + " ") + result;
    // One write per line keeps lines of concurrent writers apart (O_APPEND); a failed trace
    // write must not change what the entry returns.
    if (::write(fd_, line.data(), line.size()) < 0)
        return;
}

} // namespace qvstandin
