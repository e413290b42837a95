#include "PtyDriver.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kBound = std::chrono::seconds(20);

void check(bool ok, const char* what)
{
    if (!ok) {
        throw std::runtime_error(what);
    }
}

} // namespace

PtyDriver::PtyDriver(const std::string& program, const std::vector<std::string>& args,
                     const std::function<void()>& beforeExec)
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    check(master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0, "cannot open a pseudo-terminal");
    slave_ = open(ptsname(master_), O_RDWR | O_NOCTTY);
    check(slave_ >= 0, "cannot open the terminal side");
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    int pidPipe[2];
    check(pipe2(pidPipe, O_CLOEXEC) == 0, "cannot make a pipe");
    child_ = fork();
    check(child_ >= 0, "cannot fork");
    if (child_ == 0) {
        // A session of its own on the terminal, led by this process as by a shell: the
        // program runs in a process group of its own in the foreground, so that ^C typed
        // there signals it and ^Z stops it (a group whose leader's parent is outside the
        // session would be orphaned, and a stop would be discarded).
        if (setsid() < 0 || ioctl(slave_, TIOCSCTTY, 0) != 0) {
            _exit(126);
        }
        for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
            dup2(slave_, fd);
        }
        const pid_t job = fork();
        if (job == 0) {
            signal(SIGTTOU, SIG_IGN);
            if (setpgid(0, 0) != 0 || tcsetpgrp(STDIN_FILENO, getpid()) != 0) {
                _exit(126);
            }
            signal(SIGTTOU, SIG_DFL);
            if (beforeExec) {
                beforeExec();
            }
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        const bool told = job > 0 && write(pidPipe[1], &job, sizeof job) == sizeof job;
        int status = 0;
        if (!told || waitpid(job, &status, 0) != job) {
            _exit(126);
        }
        if (WIFSIGNALED(status)) {
            signal(WTERMSIG(status), SIG_DFL);
            raise(WTERMSIG(status));
        }
        _exit(WEXITSTATUS(status));
    }
    close(pidPipe[1]);
    const bool started = read(pidPipe[0], &program_, sizeof program_) == sizeof program_;
    close(pidPipe[0]);
    check(started, "the program did not start");
}

PtyDriver::~PtyDriver()
{
    if (child_ > 0) {
        kill(program_, SIGKILL);
        kill(child_, SIGKILL);
        waitpid(child_, nullptr, 0);
    }
    close(slave_);
    close(master_);
}

bool PtyDriver::readSome(int timeoutMs)
{
    pollfd fd{master_, POLLIN, 0};
    char buffer[256];
    const ssize_t count = poll(&fd, 1, timeoutMs) > 0 ? read(master_, buffer, sizeof buffer) : 0;
    if (count > 0) {
        seen_.append(buffer, static_cast<std::size_t>(count));
    }
    return count > 0;
}

void PtyDriver::waitFor(const std::string& text)
{
    const auto deadline = Clock::now() + kBound;
    std::size_t at = 0;
    while ((at = seen_.find(text, consumed_)) == std::string::npos) {
        check(Clock::now() < deadline, ("no \"" + text + "\" in \"" + seen_ + "\"").c_str());
        readSome(100);
    }
    consumed_ = at + text.size();
}

void PtyDriver::type(const std::string& keys)
{
    check(write(master_, keys.data(), keys.size()) == static_cast<ssize_t>(keys.size()), "cannot type");
}

int PtyDriver::finish()
{
    const auto deadline = Clock::now() + kBound;
    int status = 0;
    while (waitpid(child_, &status, WNOHANG) != child_) {
        check(Clock::now() < deadline, ("the program did not end: \"" + seen_ + "\"").c_str());
        // Reading also lets a program blocked on a full terminal go on.
        readSome(10);
    }
    child_ = -1;
    while (readSome(0)) {
    }
    return status;
}

bool PtyDriver::echoOn() const
{
    termios attributes{};
    check(tcgetattr(slave_, &attributes) == 0, "cannot read the terminal settings");
    return (attributes.c_lflag & ECHO) != 0;
}

void PtyDriver::waitStopped() const
{
    const auto deadline = Clock::now() + kBound;
    for (;;) {
        std::ifstream stat("/proc/" + std::to_string(program_) + "/stat");
        std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
        // The state follows the parenthesised command name.
        const auto state = text.rfind(')');
        if (state != std::string::npos && text.compare(state, 3, ") T") == 0) {
            return;
        }
        check(Clock::now() < deadline, "the program did not stop");
        usleep(10000);
    }
}
