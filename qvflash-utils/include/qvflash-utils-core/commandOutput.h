#pragma once

#include <string>

// The shell commands the library runs, and their end when the process that runs them is ended.
namespace qvfl_utils::detail {

// The whole standard output of `/bin/sh -c command`, whatever its exit status. The shell and
// all it starts form a process group of their own, with no signal blocked and SIGINT, SIGHUP,
// SIGTERM and SIGQUIT at their default, standard input from /dev/null: a terminal's ^C to the
// caller's group does not cut them short, and they do not keep the signals a caller's thread
// blocks. Returns once the shell has ended. One command at a time (the library's lock). Throws
// std::system_error naming the command when the shell cannot be started or its output read,
// and with ECANCELED when endRunningCommand ended it.
std::string commandOutput(const std::string& command);

// Kills (SIGKILL) the process group of the command that commandOutput runs; nothing when none
// runs. Async-signal-safe: it takes no lock and allocates nothing, and errno is kept.
void endRunningCommand() noexcept;

} // namespace qvfl_utils::detail
