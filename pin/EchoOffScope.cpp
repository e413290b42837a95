#include "pin/EchoOffScope.h"

#include "cli/DomainError.h"
#include "cli/internalError.h"

#include <cerrno>
#include <unistd.h>

namespace {

// The last one stops the program; the others end it.
constexpr std::array<int, 5> kHandledSignals{SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP};

// The handlers can only reach the attributes and the prompt through statics; the scope
// fills them before the handlers are installed and they are removed before it is reused.
struct termios savedAttributes;
std::string shownPrompt;

bool setEcho(bool on) noexcept
{
    struct termios attributes = savedAttributes;
    if (!on) {
        attributes.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    }
    return tcsetattr(STDIN_FILENO, TCSAFLUSH, &attributes) == 0;
}

extern "C" void restoreTerminalAndDie(int signalNumber)
{
    // Both calls are async-signal-safe. The signal is blocked while this runs, so the one
    // raised here takes its default effect right after: the exit status still shows it.
    setEcho(true);
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
}

extern "C" void stopWithEchoOn(int)
{
    // Every call is async-signal-safe. The stop takes effect at the raise, once the signal
    // is unblocked with its default action; the rest runs when the program goes on.
    const int savedErrno = errno;
    setEcho(true);
    struct sigaction stop {};
    struct sigaction self {};
    stop.sa_handler = SIG_DFL;
    sigemptyset(&stop.sa_mask);
    sigaction(SIGTSTP, &stop, &self);
    sigset_t stopSignal;
    sigemptyset(&stopSignal);
    sigaddset(&stopSignal, SIGTSTP);
    sigprocmask(SIG_UNBLOCK, &stopSignal, nullptr);
    raise(SIGTSTP);
    sigaction(SIGTSTP, &self, nullptr);
    setEcho(false);
    [[maybe_unused]] const ssize_t written = write(STDOUT_FILENO, shownPrompt.data(), shownPrompt.size());
    errno = savedErrno;
}

} // namespace

EchoOffScope::EchoOffScope(const std::string& prompt)
{
    struct termios attributes;
    if (tcgetattr(STDIN_FILENO, &attributes) != 0) {
        if (errno == ENOTTY) {
            // Piped or redirected input is read as it is.
            return;
        }
        if (errno == EBADF) {
            throw PinReadError();
        }
        throw UnknownError();
    }
    savedAttributes = attributes;
    shownPrompt = prompt;

    for (std::size_t i = 0; i < kHandledSignals.size(); ++i) {
        const int signalNumber = kHandledSignals[i];
        sigaction(signalNumber, nullptr, &earlierHandlers_[i]);
        // Whoever started the program with the signal ignored (nohup, a script's trap)
        // keeps it ignored.
        if (earlierHandlers_[i].sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = signalNumber == SIGTSTP ? stopWithEchoOn : restoreTerminalAndDie;
        // A read interrupted by a stop goes on when the program does.
        action.sa_flags = signalNumber == SIGTSTP ? SA_RESTART : 0;
        sigemptyset(&action.sa_mask);
        sigaction(signalNumber, &action, nullptr);
    }

    if (!setEcho(false)) {
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
    return setEcho(true);
}

void EchoOffScope::restoreHandlers() noexcept
{
    for (std::size_t i = 0; i < kHandledSignals.size(); ++i) {
        sigaction(kHandledSignals[i], &earlierHandlers_[i], nullptr);
    }
}
