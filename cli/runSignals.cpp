#include "cli/runSignals.h"

#include "cli/catchUnlessIgnored.h"
#include "cli/heldPinLines.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace run_signals {

namespace {

constexpr std::array<int, 4> kCaughtSignals{SIGINT, SIGHUP, SIGTERM, SIGQUIT};
constexpr int kSignalExitBase = 128;

// Reached by the handler, so a process-wide lock-free atomic.
std::atomic<int> interrupting{0};
std::atomic<bool> catching{false};
std::atomic<bool> ending{false};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "a signal handler may only use lock-free atomics");

void tell(const char* text) noexcept
{
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, text, std::strlen(text));
}

extern "C" void onRunSignal(int signalNumber)
{
    const int savedErrno = errno;
    int none = 0;
    if (interrupting.compare_exchange_strong(none, signalNumber)) {
        tell("Interrupted: the tokens at work finish their operation, no other token is begun; a second "
             "signal ends the run at once.\n");
        errno = savedErrno;
        return;
    }
    // Raised before the places are read, both sequentially consistent: a token thread that
    // holds a line after the write-out has passed its place then finds it raised.
    ending.store(true);
    held_pin_lines::writeAll();
    tell("Run ended by a second signal: the tokens at work were not waited for.\n");
    _exit(kSignalExitBase + signalNumber);
}

sigset_t caughtSet() noexcept
{
    sigset_t set;
    sigemptyset(&set);
    for (const int signalNumber : kCaughtSignals) {
        sigaddset(&set, signalNumber);
    }
    return set;
}

// A thread that does nothing but receive the signals; it ends with the process. It takes them
// even when the thread that starts it had them blocked already.
bool startReceiver(const sigset_t& caught) noexcept
{
    try {
        std::thread([caught] {
            pthread_sigmask(SIG_UNBLOCK, &caught, nullptr);
            for (;;) {
                pause();
            }
        }).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

} // namespace

void catchDuringRun() noexcept
{
    if (catching.exchange(true)) {
        return;
    }
    const sigset_t set = caughtSet();
    sigset_t caught;
    sigemptyset(&caught);
    for (const int signalNumber : kCaughtSignals) {
        if (catchUnlessIgnored(signalNumber, onRunSignal, set)) {
            sigaddset(&caught, signalNumber);
        }
    }
    // Without the receiver the signals reach whichever thread the system picks; SA_RESTART then
    // keeps most calls going.
    if (startReceiver(caught)) {
        pthread_sigmask(SIG_BLOCK, &caught, nullptr);
    }
}

bool endingAtOnce() noexcept
{
    return ending.load();
}

int interruptingSignal() noexcept
{
    return interrupting.load();
}

int exitStatus(int status) noexcept
{
    // The handler of a second signal ends the process itself, once it has written out; the run
    // may finish meanwhile, and must not cut that write-out short.
    while (ending.load()) {
        pause();
    }
    const int signalNumber = interrupting.load();
    return signalNumber != 0 ? kSignalExitBase + signalNumber : status;
}

} // namespace run_signals
