#pragma once

// The host calls that the libraries and the program make, spelled once for every system.
// macOS answers them itself; on Linux this layer answers the same questions
// from /proc, /sys and /run, or, in builds that honour it, from the same folders
// under the directory that QV_HOST_ROOT names (read on every call), and makes the
// calls of its own that do the same.

#include <cerrno>
#include <cstddef>
#include <string>

#if defined(__APPLE__)
#include <crt_externs.h>

// The types first: the other two use them.
#include <sys/types.h>

#include <sys/ptrace.h>
#include <sys/sysctl.h>
#endif

#include <fcntl.h>
#include <unistd.h>

namespace platform {

#if defined(__APPLE__)
using ::sysctlbyname;
// A shell word that starts the profiler.
inline std::string systemProfiler()
{
    return "system_profiler";
}
// The name of the system whose version "kern.osproductversion" gives.
inline std::string operatingSystemName()
{
    return "macOS";
}
// Keeps other processes from reading the process's memory: no debugger may attach.
inline int protectProcessMemory()
{
    return ::ptrace(PT_DENY_ATTACH, 0, nullptr, 0);
}
// The process's environment, for a program it starts. A macOS library cannot reach `environ`
// directly.
inline char** environment()
{
    return *_NSGetEnviron();
}
// A pipe whose ends are closed on exec: 0, or -1 with errno, with no end left open. macOS has
// no pipe2, so the flag is set right after the pipe is made: a program that another thread of
// the caller starts in between inherits both ends. The snapshot library starts its own programs
// under its lock, so only a caller's own thread can start one in that window.
inline int closeOnExecPipe(int ends[2])
{
    if (::pipe(ends) != 0) {
        return -1;
    }
    if (::fcntl(ends[0], F_SETFD, FD_CLOEXEC) == 0 && ::fcntl(ends[1], F_SETFD, FD_CLOEXEC) == 0) {
        return 0;
    }
    const int error = errno;
    ::close(ends[0]);
    ::close(ends[1]);
    errno = error;
    return -1;
}
#else
// 0, or -1 with errno: ENOENT for an unknown name or a host without the fact,
// ENOMEM when the value is larger than *length. A null value asks for the size
// into *length.
int sysctlbyname(const char* name, void* value, std::size_t* length, void* newValue, std::size_t newLength);
// A shell word that starts the profiler: this layer's own program, by its
// absolute path beside the library folder this code is linked from,
// single-quoted. Throws std::system_error (ENOENT) naming the path when no
// program can be run there, so that a missing profiler is told apart from a
// host without drives.
std::string systemProfiler();
// The name of the system whose version "kern.osproductversion" gives: the NAME
// of os-release.
std::string operatingSystemName();
// Keeps other processes from reading the process's memory: it is made non-dumpable, so no
// core file is written and processes of the same user cannot trace it. 0, or -1 with errno.
int protectProcessMemory();
// The process's environment, for a program it starts.
inline char** environment()
{
    return environ;
}
// A pipe whose ends are closed on exec from the start, so that no program that another thread
// starts meanwhile inherits one: 0, or -1 with errno.
inline int closeOnExecPipe(int ends[2])
{
    return ::pipe2(ends, O_CLOEXEC);
}
#endif

} // namespace platform
