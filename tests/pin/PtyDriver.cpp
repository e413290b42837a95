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
    master = posix_openpt(O_RDWR | O_NOCTTY);
    check(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0, "cannot open a pseudo-terminal");
    slave = open(ptsname(master), O_RDWR | O_NOCTTY);
    check(slave >= 0, "cannot open the terminal side");
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    child = fork();
    check(child >= 0, "cannot fork");
    if (child == 0) {
        // A session of its own on the terminal, so that ^C typed there signals the program.
        if (setsid() < 0 || ioctl(slave, TIOCSCTTY, 0) != 0) {
            _exit(126);
        }
        for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
            dup2(slave, fd);
        }
        execv(program.c_str(), argv.data());
        _exit(127);
    }
}

PtyDriver::~PtyDriver()
{
    if (child > 0) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    close(slave);
    close(master);
}

bool PtyDriver::readSome(int timeoutMs)
{
    pollfd fd{master, POLLIN, 0};
    char buffer[256];
    const ssize_t count = poll(&fd, 1, timeoutMs) > 0 ? read(master, buffer, sizeof buffer) : 0;
    if (count > 0) {
        seen.append(buffer, static_cast<std::size_t>(count));
    }
    return count > 0;
}

void PtyDriver::waitFor(const std::string& text)
{
    const auto deadline = Clock::now() + kBound;
    std::size_t at = 0;
    while ((at = seen.find(text, consumed)) == std::string::npos) {
        check(Clock::now() < deadline, ("no \"" + text + "\" in \"" + seen + "\"").c_str());
        readSome(100);
    }
    consumed = at + text.size();
}

void PtyDriver::type(const std::string& keys)
{
    check(write(master, keys.data(), keys.size()) == static_cast<ssize_t>(keys.size()), "cannot type");
}

int PtyDriver::finish()
{
    const auto deadline = Clock::now() + kBound;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) != child) {
        check(Clock::now() < deadline, ("the program did not end: \"" + seen + "\"").c_str());
        // Reading also lets a program blocked on a full terminal go on.
        readSome(10);
    }
    child = -1;
    while (readSome(0)) {
    }
    return status;
}

bool PtyDriver::echoOn() const
{
    termios attributes{};
    check(tcgetattr(slave, &attributes) == 0, "cannot read the terminal settings");
    return (attributes.c_lflag & ECHO) != 0;
}
