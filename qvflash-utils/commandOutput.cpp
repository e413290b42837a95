#include <qvflash-utils-core/commandOutput.h>

#include <platform/hostCalls.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <initializer_list>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>

namespace qvfl_utils::detail {
namespace {

// The descriptor on which the shell finds the read end of its lifeline.
constexpr int kLifeline = 3;

// Run before the command. The group runs in the background of the caller's terminal, where
// writing to it (a warning on standard error) or reading it would stop the group for ever under
// `stty tostop`: SIGTTOU and SIGTTIN are ignored instead. A watcher in the group reads the
// lifeline, whose write end only the caller holds; the read reaches the end once the caller
// closes it after the shell, or once the caller has ended in whatever way (a signal, SIGKILL, a
// crash), and the watcher then kills the whole group, itself included. So nothing the command
// starts outlives its call, nor its caller.
constexpr char kPrelude[] = "trap '' TTOU TTIN\n"
                            "{ read -r _; kill -s KILL 0; } <&3 >/dev/null 2>&1 &\n"
                            "exec 3<&-\n";

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

// The two ends of a pipe, closed on exec from the start, and each closed once.
class PipeEnds {
public:
    explicit PipeEnds(const std::string& command)
    {
        if (platform::closeOnExecPipe(ends_) != 0) {
            fail(errno, command);
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

// The shell, started with `output` as its standard output and `lifeline` as descriptor 3; its
// pid is its group's id. A process group apart from the caller's would be stopped reading the
// terminal, hence /dev/null.
pid_t startShell(const std::string& command, int output, int lifeline)
{
    SpawnSettings settings(command);
    const sigset_t none = signalSet({});
    // A program's handlers go at its start anyway; these may be ignored (nohup) or blocked.
    const sigset_t defaults = signalSet({SIGINT, SIGHUP, SIGTERM, SIGQUIT});
    check(posix_spawn_file_actions_addopen(&settings.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0), command);
    check(posix_spawn_file_actions_adddup2(&settings.actions, output, STDOUT_FILENO), command);
    check(posix_spawn_file_actions_adddup2(&settings.actions, lifeline, kLifeline), command);
    check(posix_spawnattr_setflags(&settings.attributes,
                                   POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF),
          command);
    check(posix_spawnattr_setpgroup(&settings.attributes, 0), command);
    check(posix_spawnattr_setsigmask(&settings.attributes, &none), command);
    check(posix_spawnattr_setsigdefault(&settings.attributes, &defaults), command);

    std::string text = kPrelude + command;
    char shell[] = "sh";
    char option[] = "-c";
    char* arguments[] = {shell, option, text.data(), nullptr};
    pid_t child = 0;
    check(posix_spawn(&child, "/bin/sh", &settings.actions, &settings.attributes, arguments, platform::environment()),
          command);
    return child;
}

// The shell at work, the read end of its standard output and the write end of its lifeline. It
// is waited for on every path, and its group is ended with the lifeline.
class Shell {
public:
    explicit Shell(const std::string& command) : output_(command), lifeline_(command)
    {
        pid_ = startShell(command, output_.writeEnd(), lifeline_.readEnd());
        // The output ends once the pipeline's last writer has; the lifeline only with this end.
        output_.closeWrite();
        lifeline_.closeRead();
    }
    ~Shell() { end(); }
    // One wait per shell.
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;

    int output() const { return output_.readEnd(); }

    // Closes the output and the lifeline, which ends whatever of the pipeline still runs, and
    // waits for the shell.
    void end() noexcept
    {
        if (pid_ == 0) {
            return;
        }
        output_.closeRead();
        lifeline_.closeWrite();
        while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
        }
        pid_ = 0;
    }

private:
    PipeEnds output_;
    PipeEnds lifeline_;
    pid_t pid_ = 0;
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
    shell.end();
    return output;
}

} // namespace qvfl_utils::detail
