#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>

namespace vellumo {

// Whole milliseconds until `deadline`, rounded up so that a wait of that long never ends
// before it; 0 once it has passed.
int MillisecondsLeft(std::chrono::steady_clock::time_point deadline);

// Waits for `pid`, a child of ours, to end, until `deadline`: its exit status (-1 when a signal
// ended it), or nothing when it is still running then. Waits on a pidfd, so the answer comes
// the moment the child ends.
std::optional<int> WaitForExit(pid_t pid, std::chrono::steady_clock::time_point deadline);

// The same by looking every few milliseconds, for kernels without pidfd_open (before Linux 5.3).
std::optional<int> WaitForExitPolling(pid_t pid, std::chrono::steady_clock::time_point deadline);

// Kills `pid`, which leads a process group of its own, together with everything it started (a
// shell script's children, a helper it spawned) rather than leave those running on their own,
// and reaps it.
void KillProcessGroup(pid_t pid);

}  // namespace vellumo
