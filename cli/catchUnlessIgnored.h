#pragma once

#include <csignal>

// Installs `handler` for the signal with SA_RESTART, blocking `blockedWhileHandling` while it
// runs, unless the process ignores the signal: whoever started the program with it ignored
// (nohup, a script's trap) keeps it ignored. True when the handler is installed.
bool catchUnlessIgnored(int signalNumber, void (*handler)(int), const sigset_t& blockedWhileHandling) noexcept;
