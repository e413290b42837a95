#include "PtyDriver.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr auto kBound = std::chrono::seconds(20);

} // namespace

PtyDriver::PtyDriver(std::string const& program, std::vector<std::string> const& args)
{
    master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        throw std::runtime_error("cannot open a pseudo-terminal");
    }
    const std::string slaveName = ptsname(master);
    slave = open(slaveName.c_str(), O_RDWR | O_NOCTTY);
    if (slave < 0) {
        throw std::runtime_error("cannot open the terminal side");
    }
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);

    child = fork();
    if (child < 0) {
        throw std::runtime_error("cannot fork");
    }
    if (child == 0) {
        // A new session whose controlling terminal is the pseudo-terminal, so that ^C on it
        // signals this program.
        setsid();
        if (ioctl(slave, TIOCSCTTY, 0) != 0) {
            _exit(126);
        }
        dup2(slave, STDIN_FILENO);
        dup2(slave, STDOUT_FILENO);
        dup2(slave, STDERR_FILENO);
        close(master);
        close(slave);
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
    if (poll(&fd, 1, timeoutMs) <= 0) {
        return false;
    }
    char buffer[256];
    const ssize_t count = read(master, buffer, sizeof buffer);
    if (count <= 0) {
        return false;
    }
    seen.append(buffer, static_cast<std::size_t>(count));
    return true;
}

void PtyDriver::waitFor(std::string const& text)
{
    const auto deadline = std::chrono::steady_clock::now() + kBound;
    for (;;) {
        if (const auto at = seen.find(text, consumed); at != std::string::npos) {
            consumed = at + text.size();
            return;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            throw std::runtime_error("no \"" + text + "\" in the output: \"" + seen + "\"");
        }
        readSome(static_cast<int>(left.count()));
    }
}

void PtyDriver::type(std::string const& keys)
{
    if (write(master, keys.data(), keys.size()) != static_cast<ssize_t>(keys.size())) {
        throw std::runtime_error("cannot type on the terminal");
    }
}

int PtyDriver::finish()
{
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + kBound;
    for (;;) {
        const pid_t ended = waitpid(child, &status, WNOHANG);
        if (ended == child) {
            break;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            throw std::runtime_error("the program did not end: \"" + seen + "\"");
        }
        // Waiting on the output also lets a program blocked on a full terminal go on.
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
    if (tcgetattr(slave, &attributes) != 0) {
        throw std::runtime_error("cannot read the terminal settings");
    }
    return (attributes.c_lflag & ECHO) != 0;
}
