#include <qvflash-utils-core/commandOutput.h>

#include <platform/hostCalls.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>

namespace qvfl_utils::detail {
namespace {

// The process group of the command at work, read by endRunningCommand (a signal handler):
// kNone while no command runs, kStarting while one is being started, kEnded once ended.
constexpr pid_t kNone = 0;
constexpr pid_t kStarting = -1;
constexpr pid_t kEnded = -2;
std::atomic<pid_t> runningGroup{kNone};
static_assert(std::atomic<pid_t>::is_always_lock_free, "a signal handler may only use lock-free atomics");

// A start takes far less than the second that endRunningCommand waits for its group.
constexpr int kStartWaits = 100;
constexpr int kStartWaitMilliseconds = 10;

[[noreturn]] void fail(int error, const std::string& command)
{
    throw std::system_error(error, std::system_category(), command);
}

void check(int error, const std::string& command)
{
    if (error != 0) {
        fail(error, command);
    }
}

// The file actions and attributes of one start, destroyed with it.
class SpawnSettings {
public:
    explicit SpawnSettings(const std::string& command)
    {
        check(posix_spawn_file_actions_init(&actions), command);
        if (const int error = posix_spawnattr_init(&attributes)) {
            posix_spawn_file_actions_destroy(&actions);
            fail(error, command);
        }
    }
    ~SpawnSettings()
    {
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
    }
    // One destruction per initialisation.
    SpawnSettings(const SpawnSettings&) = delete;
    SpawnSettings& operator=(const SpawnSettings&) = delete;

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
};

sigset_t signalSet(std::initializer_list<int> signalNumbers)
{
    sigset_t set;
    sigemptyset(&set);
    for (const int signalNumber : signalNumbers) {
        sigaddset(&set, signalNumber);
    }
    return set;
}

// The shell, started with `output` as its standard output; its pid is its group's id. A process
// group apart from the caller's would be stopped reading the terminal, hence /dev/null.
pid_t startShell(const std::string& command, int output)
{
    SpawnSettings settings(command);
    const sigset_t none = signalSet({});
    // A program's handlers go at its start anyway; these may be ignored (nohup) or blocked.
    const sigset_t defaults = signalSet({SIGINT, SIGHUP, SIGTERM, SIGQUIT});
    check(posix_spawn_file_actions_addopen(&settings.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0), command);
    check(posix_spawn_file_actions_adddup2(&settings.actions, output, STDOUT_FILENO), command);
    check(posix_spawnattr_setflags(&settings.attributes,
                                   POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF),
          command);
    check(posix_spawnattr_setpgroup(&settings.attributes, 0), command);
    check(posix_spawnattr_setsigmask(&settings.attributes, &none), command);
    check(posix_spawnattr_setsigdefault(&settings.attributes, &defaults), command);

    std::string text = command;
    char shell[] = "sh";
    char option[] = "-c";
    char* arguments[] = {shell, option, text.data(), nullptr};
    pid_t child = 0;
    runningGroup.store(kStarting);
    const int error =
        posix_spawn(&child, "/bin/sh", &settings.actions, &settings.attributes, arguments, platform::environment());
    if (error != 0) {
        runningGroup.store(kNone);
        fail(error, command);
    }
    pid_t starting = kStarting;
    if (!runningGroup.compare_exchange_strong(starting, child)) {
        // Ended while it started: endRunningCommand could not reach it.
        kill(-child, SIGKILL);
    }
    return child;
}

// The shell at work and the read end of its standard output. It is waited for on every path,
// so no process it starts outlives the call unless the caller's own process ends first.
class Shell {
public:
    explicit Shell(const std::string& command)
    {
        int ends[2];
        if (pipe(ends) != 0) {
            fail(errno, command);
        }
        // No program started later gets either end, as the output would not end while it ran;
        // the shell's standard output is a copy, which stays open across its start.
        fcntl(ends[0], F_SETFD, FD_CLOEXEC);
        fcntl(ends[1], F_SETFD, FD_CLOEXEC);
        try {
            pid_ = startShell(command, ends[1]);
        } catch (...) {
            close(ends[0]);
            close(ends[1]);
            throw;
        }
        close(ends[1]);
        output_ = ends[0];
    }
    ~Shell()
    {
        if (pid_ > 0) {
            end();
        }
    }
    // One wait per shell.
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;

    int output() const { return output_; }

    // Closes the output, so that a shell still writing ends, and waits for the shell. True when
    // endRunningCommand ended it.
    bool end() noexcept
    {
        close(output_);
        // The group is given up while the ended shell is not yet reaped: until then no other
        // process can take its number, so endRunningCommand never kills a stranger's group.
        siginfo_t info{};
        while (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
        }
        const bool ended = runningGroup.exchange(kNone) == kEnded;
        while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
        }
        pid_ = 0;
        return ended;
    }

private:
    pid_t pid_ = 0;
    int output_ = -1;
};

} // namespace

std::string commandOutput(const std::string& command)
{
    Shell shell(command);
    std::array<char, 512> buffer;
    std::string output;
    for (;;) {
        const ssize_t got = read(shell.output(), buffer.data(), buffer.size());
        if (got > 0) {
            output.append(buffer.data(), static_cast<std::size_t>(got));
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            fail(errno, command);
        }
    }
    if (shell.end()) {
        fail(ECANCELED, command);
    }
    return output;
}

void endRunningCommand() noexcept
{
    const int savedErrno = errno;
    pid_t group = runningGroup.load();
    for (int wait = 0; group == kStarting && wait < kStartWaits; ++wait) {
        poll(nullptr, 0, kStartWaitMilliseconds);
        group = runningGroup.load();
    }
    // Marked even while still starting: that start then kills its shell itself.
    while ((group > 0 || group == kStarting) && !runningGroup.compare_exchange_weak(group, kEnded)) {
    }
    if (group > 0) {
        kill(-group, SIGKILL);
    }
    errno = savedErrno;
}

} // namespace qvfl_utils::detail
