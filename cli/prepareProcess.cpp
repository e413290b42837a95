#include "cli/prepareProcess.h"

#include "cli/catchUnlessIgnored.h"

#include <platform/hostCalls.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

void keepStandardStreamsOpen() noexcept
{
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            // The lowest free descriptor is this one.
            open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
        }
    }
}

void keepMemoryOutOfDumps() noexcept
{
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    platform::protectProcessMemory();
}

extern "C" void ignoreSignal(int) {}

void seeBrokenPipes() noexcept
{
    sigset_t none;
    sigemptyset(&none);
    catchUnlessIgnored(SIGPIPE, ignoreSignal, none);
}

} // namespace

void prepareProcess() noexcept
{
    keepStandardStreamsOpen();
    keepMemoryOutOfDumps();
    seeBrokenPipes();
}
