#include "cli/prepareProcess.h"

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
    struct sigaction current {};
    if (sigaction(SIGPIPE, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) {
        return;
    }
    struct sigaction action {};
    action.sa_handler = ignoreSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(SIGPIPE, &action, nullptr);
}

} // namespace

void prepareProcess() noexcept
{
    keepStandardStreamsOpen();
    keepMemoryOutOfDumps();
    seeBrokenPipes();
}
