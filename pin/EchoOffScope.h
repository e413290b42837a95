#pragma once

#include <signal.h>
#include <termios.h>

#include <array>
#include <string>

// Switches off echo of the terminal on standard input for the time a secret is typed,
// and gives the operator's terminal back however that ends: on return, on an exception
// (the destructor), and on SIGINT, SIGTERM, SIGHUP or SIGQUIT, which restore the saved
// attributes and then take their default effect. A stop from the terminal (SIGTSTP) turns
// echo back on for the time the program is stopped; when it goes on, echo is off again and
// the prompt is shown again. A signal that the process ignores stays ignored. Input that is
// not a terminal is left alone. One scope at a time, on the main thread.
class EchoOffScope {
public:
    // Pending input is discarded. Throws PinReadError when standard input is closed, and
    // UnknownError when the terminal cannot be read or set (other than standard input not
    // being a terminal).
    explicit EchoOffScope(const std::string& prompt);
    // Restores silently when restore() was not reached.
    ~EchoOffScope();
    // One terminal state to give back, once.
    EchoOffScope(const EchoOffScope&) = delete;
    EchoOffScope& operator=(const EchoOffScope&) = delete;

    // Gives the saved attributes back and the earlier signal handlers; throws UnknownError
    // when the terminal refuses them.
    void restore();

private:
    bool restoreTerminal() noexcept;
    void restoreHandlers() noexcept;

    bool active_ = false;
    std::array<struct sigaction, 5> earlierHandlers_{};
};
