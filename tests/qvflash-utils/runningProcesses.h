#pragma once

#include <sys/types.h>

#include <vector>

// The processes that have not ended, as /proc lists them: a zombie has ended, and here nobody
// may reap an orphan. For tests that check which processes a run leaves behind.
struct RunningProcess {
    pid_t pid;
    pid_t parent;
    pid_t group;
};
std::vector<RunningProcess> runningProcesses();

// Waits, bounded, until no process of the group runs; false when some still do.
bool groupEnds(pid_t group);
