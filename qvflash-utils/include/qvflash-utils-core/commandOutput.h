#pragma once

#include <string>

// The shell commands the library runs.
namespace qvfl_utils::detail {

// The whole standard output of `/bin/sh -c command`, whatever its exit status. The shell and
// all it starts form a process group of their own, with no signal blocked, SIGINT, SIGHUP,
// SIGTERM and SIGQUIT at their default, SIGTTOU and SIGTTIN ignored and standard input from
// /dev/null: a terminal's ^C to the caller's group does not cut them short, they do not keep
// the signals a caller's thread blocks, and a terminal never stops them. Returns once the shell
// has ended; what of the group still runs then is killed, as it is when the caller's process
// ends in whatever way, so none of it outlives the call. One command at a time (the library's
// lock). Throws std::system_error naming the command when the shell cannot be started or its
// output read.
std::string commandOutput(const std::string& command);

} // namespace qvfl_utils::detail
