#include "cli/catchUnlessIgnored.h"

bool catchUnlessIgnored(int signalNumber, void (*handler)(int), const sigset_t& blockedWhileHandling) noexcept
{
    struct sigaction current {};
    if (sigaction(signalNumber, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) {
        return false;
    }
    struct sigaction action {};
    action.sa_handler = handler;
    action.sa_flags = SA_RESTART;
    action.sa_mask = blockedWhileHandling;
    return sigaction(signalNumber, &action, nullptr) == 0;
}
