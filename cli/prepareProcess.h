#pragma once

// Puts the process in the state the program relies on, first thing at start-up:
// - standard input, output and error are open: a closed one is taken by /dev/null opened the
//   other way round (reads of input and writes of output fail as on a closed stream), so no
//   file the program opens later takes its place;
// - its memory, which holds PINs, goes into no core file and to no other process;
// - a write to a pipe whose reader has gone fails with EPIPE instead of ending the process, so
//   the failure is seen and handled. A SIGPIPE that the caller ignores stays ignored; else the
//   process catches it rather than ignoring it, so the programs it starts get the default.
void prepareProcess() noexcept;
