#pragma once

#include <string>

// The shell commands the library runs.
namespace qvfl_utils::detail {

// The whole standard output of `/bin/sh -c command`, whatever its exit status and whichever
// POSIX shell /bin/sh is; its standard error is handed on to the caller's as it comes. The shell
// and all it starts form a process group of their own, with no signal blocked, SIGINT, SIGHUP,
// SIGTERM and SIGQUIT at their default and standard input from /dev/null: a terminal's ^C to the
// caller's group does not cut them short, they do not keep the signals a caller's thread blocks,
// and none of them touches a terminal, which could stop them. The group is led by a watcher that
// starts before the shell and is no child of it. Returns once the output has ended, after sending
// SIGKILL to whatever of the group still runs; when the caller's process ends first, in whatever
// way, the watcher sends it as soon as the process is gone. One command at a time (the library's
// lock). Throws std::system_error naming the command when a process cannot be started or the
// output read.
std::string commandOutput(const std::string& command);

} // namespace qvfl_utils::detail
