#include <qvflash-utils-core/commandOutput.h>

#include <platform/hostCalls.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <initializer_list>
#include <poll.h>
#include <pthread.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>

namespace qvfl_utils::detail {
namespace {

// The watcher's script. It reads the lifeline, whose write end only the caller holds, and the
// read reaches the end once the caller has ended in whatever way (a signal, SIGKILL, a crash);
// the watcher then kills its group, itself included. It starts as the group's leader, before the
// command, so no command runs unwatched.
constexpr char kWatcher[] = "read -r _; kill -s KILL 0";

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

// The two ends of a pipe, closed on exec from the start, and each closed once. Neither is one of
// the standard descriptors, which a caller may have closed: a started program's standard streams
// are set from these ends, and one that already sat on a stream's number would be overwritten or
// keep its close-on-exec flag.
class PipeEnds {
public:
    explicit PipeEnds(const std::string& command)
    {
        if (platform::closeOnExecPipe(ends_) != 0) {
            fail(errno, command);
        }
        for (int& end : ends_) {
            if (end <= STDERR_FILENO) {
                const int moved = fcntl(end, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
                const int error = errno;
                closeEnd(end);
                if (moved < 0) {
                    fail(error, command);
                }
                end = moved;
            }
        }
    }
    ~PipeEnds()
    {
        closeRead();
        closeWrite();
    }
    PipeEnds(const PipeEnds&) = delete;
    PipeEnds& operator=(const PipeEnds&) = delete;

    int readEnd() const { return ends_[0]; }
    int writeEnd() const { return ends_[1]; }
    void closeRead() noexcept { closeEnd(ends_[0]); }
    void closeWrite() noexcept { closeEnd(ends_[1]); }

private:
    static void closeEnd(int& end) noexcept
    {
        if (end >= 0) {
            close(end);
            end = -1;
        }
    }

    int ends_[2] = {-1, -1};
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

// Sets a standard stream of the program to start: the descriptor, or /dev/null for -1.
void redirect(SpawnSettings& settings, int descriptor, int stream, const std::string& command)
{
    check(descriptor < 0 ? posix_spawn_file_actions_addopen(&settings.actions, stream, "/dev/null",
                                                            stream == STDIN_FILENO ? O_RDONLY : O_WRONLY, 0)
                         : posix_spawn_file_actions_adddup2(&settings.actions, descriptor, stream),
          command);
}

// `/bin/sh -c script` with the given standard streams, in the process group `group` (0 for a new
// one, led by it), with no signal blocked and the run's signals at their default: a program's
// handlers go at its start anyway, and a caller may ignore these (nohup) or block them in a
// thread. The group runs in the background of the caller's terminal, so none of it touches the
// terminal, where reading or, under `stty tostop`, writing would stop it for ever.
pid_t startShell(const std::string& command, const char* script, const int (&streams)[3], pid_t group)
{
    SpawnSettings settings(command);
    const sigset_t none = signalSet({});
    const sigset_t defaults = signalSet({SIGINT, SIGHUP, SIGTERM, SIGQUIT});
    for (const int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        redirect(settings, streams[stream], stream, command);
    }
    check(posix_spawnattr_setflags(&settings.attributes,
                                   POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF),
          command);
    check(posix_spawnattr_setpgroup(&settings.attributes, group), command);
    check(posix_spawnattr_setsigmask(&settings.attributes, &none), command);
    check(posix_spawnattr_setsigdefault(&settings.attributes, &defaults), command);

    std::string text = script;
    char shell[] = "sh";
    char option[] = "-c";
    char* arguments[] = {shell, option, text.data(), nullptr};
    pid_t child = 0;
    check(posix_spawn(&child, "/bin/sh", &settings.actions, &settings.attributes, arguments, platform::environment()),
          command);
    return child;
}

// Hands text from the pipeline's standard error on to the caller's. A stream that is closed or
// broken loses the text, never the caller: SIGPIPE is held back for this thread while it writes,
// and one that the write raised is taken again.
void toStandardError(const char* text, std::size_t size)
{
    const sigset_t pipeSignal = signalSet({SIGPIPE});
    sigset_t mask;
    sigset_t pending;
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &mask);
    const bool wasPending = sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
    while (size > 0) {
        const ssize_t written = write(STDERR_FILENO, text, size);
        if (written > 0) {
            text += written;
            size -= static_cast<std::size_t>(written);
        } else if (written < 0 && errno == EINTR) {
            continue;
        } else {
            int taken = 0;
            if (written < 0 && errno == EPIPE && !wasPending && sigpending(&pending) == 0 &&
                sigismember(&pending, SIGPIPE) == 1) {
                sigwait(&pipeSignal, &taken);
            }
            break;
        }
    }
    pthread_sigmask(SIG_SETMASK, &mask, nullptr);
}

// The command at work: its watcher, then the shell in the watcher's group, with standard input
// from /dev/null and standard output and error on pipes of their own. Both are waited for on
// every path, and the group is ended with the call.
class Pipeline {
public:
    explicit Pipeline(const std::string& command) : output_(command), errors_(command), lifeline_(command)
    {
        watcher_ = startShell(command, kWatcher, {lifeline_.readEnd(), -1, -1}, 0);
        lifeline_.closeRead();
        try {
            shell_ = startShell(command, command.c_str(), {-1, output_.writeEnd(), errors_.writeEnd()}, watcher_);
        } catch (...) {
            end();
            throw;
        }
        // Each stream ends once the pipeline's last writer has.
        output_.closeWrite();
        errors_.closeWrite();
    }
    ~Pipeline() { end(); }
    // One wait per process.
    Pipeline(const Pipeline&) = delete;
    Pipeline& operator=(const Pipeline&) = delete;

    // The standard output, whole, once both streams have ended; the standard error is handed on
    // as it comes, so that a pipeline that fills either is never blocked.
    std::string output(const std::string& command)
    {
        pollfd streams[] = {{output_.readEnd(), POLLIN, 0}, {errors_.readEnd(), POLLIN, 0}};
        std::array<char, 512> buffer;
        std::string output;
        while (streams[0].fd >= 0 || streams[1].fd >= 0) {
            if (poll(streams, 2, -1) < 0) {
                if (errno == EINTR) {
                    continue;
                }
                fail(errno, command);
            }
            for (pollfd& stream : streams) {
                if (stream.revents == 0) {
                    continue;
                }
                const ssize_t got = read(stream.fd, buffer.data(), buffer.size());
                if (got > 0 && &stream == &streams[0]) {
                    output.append(buffer.data(), static_cast<std::size_t>(got));
                } else if (got > 0) {
                    toStandardError(buffer.data(), static_cast<std::size_t>(got));
                } else if (got == 0) {
                    stream.fd = -1;
                } else if (errno != EINTR) {
                    fail(errno, command);
                }
            }
        }
        return output;
    }

    // Kills whatever of the group still runs and waits for the shell and the watcher. The group
    // keeps its id while its leader, the watcher, is not waited for, so the kill reaches no other
    // group; where the system waits for children itself (a caller that ignores SIGCHLD), a
    // watcher found gone takes no kill.
    void end() noexcept
    {
        if (watcher_ == 0) {
            return;
        }
        output_.closeRead();
        errors_.closeRead();
        siginfo_t watcher{};
        if (waitid(P_PID, static_cast<id_t>(watcher_), &watcher, WEXITED | WNOHANG | WNOWAIT) == 0) {
            kill(-watcher_, SIGKILL);
        }
        lifeline_.closeWrite();
        for (const pid_t child : {shell_, watcher_}) {
            while (child != 0 && waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
            }
        }
        shell_ = 0;
        watcher_ = 0;
    }

private:
    PipeEnds output_;
    PipeEnds errors_;
    PipeEnds lifeline_;
    pid_t watcher_ = 0;
    pid_t shell_ = 0;
};

} // namespace

std::string commandOutput(const std::string& command)
{
    Pipeline pipeline(command);
    std::string output = pipeline.output(command);
    pipeline.end();
    return output;
}

} // namespace qvfl_utils::detail
