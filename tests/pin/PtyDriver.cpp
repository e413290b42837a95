#include "PtyDriver.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
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

PtyDriver::PtyDriver(const std::string& program, const std::vector<std::string>& args)
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
    child_ = fork();
    check(child_ >= 0, "cannot fork");
    if (child_ == 0) {
        // A session of its own on the terminal, so that ^C typed there signals the program.
        if (setsid() < 0 || ioctl(slave_, TIOCSCTTY, 0) != 0) {
            _exit(126);
        }
        for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
            dup2(slave_, fd);
        }
        execv(program.c_str(), argv.data());
        _exit(127);
    }
}

PtyDriver::~PtyDriver()
{
    if (child_ > 0) {
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
