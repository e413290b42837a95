#include "pin/EchoOffScope.h"

#include "cli/internalError.h"

#include <cerrno>
#include <unistd.h>

namespace {

constexpr std::array<int, 4> kRestoringSignals{SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// The handler can only reach the attributes through a static; the scope fills it before
// the handlers are installed and they are removed before it is reused.
struct termios savedAttributes;

extern "C" void restoreTerminalAndDie(int signalNumber)
{
    // Both calls are async-signal-safe. The signal is blocked while this runs, so the one
    // raised here takes its default effect right after: the exit status still shows it.
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &savedAttributes);
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
}

} // namespace

EchoOffScope::EchoOffScope()
{
    struct termios attributes;
    if (tcgetattr(STDIN_FILENO, &attributes) != 0) {
        if (errno == ENOTTY) {
            // Piped or redirected input is read as it is.
            return;
        }
        throw UnknownError();
    }
    savedAttributes = attributes;

    struct sigaction action {};
    action.sa_handler = restoreTerminalAndDie;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < kRestoringSignals.size(); ++i) {
        sigaction(kRestoringSignals[i], &action, &earlierHandlers_[i]);
    }

    attributes.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    if (tcsetattr(STDIN_FILENO, TCSAFLUSH, &attributes) != 0) {
        restoreHandlers();
        throw UnknownError();
    }
    active_ = true;
}

EchoOffScope::~EchoOffScope()
{
    if (active_) {
        restoreTerminal();
        restoreHandlers();
    }
}

void EchoOffScope::restore()
{
    if (!active_) {
        return;
    }
    active_ = false;
    const bool restored = restoreTerminal();
    restoreHandlers();
    if (!restored) {
        throw UnknownError();
    }
}

bool EchoOffScope::restoreTerminal() noexcept
{
    return tcsetattr(STDIN_FILENO, TCSAFLUSH, &savedAttributes) == 0;
}

void EchoOffScope::restoreHandlers() noexcept
{
    for (std::size_t i = 0; i < kRestoringSignals.size(); ++i) {
        sigaction(kRestoringSignals[i], &earlierHandlers_[i], nullptr);
    }
}
