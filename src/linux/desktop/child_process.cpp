#include "child_process.h"

#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <thread>

namespace vellumo {
namespace {

using Clock = std::chrono::steady_clock;

int ExitCode(int status) {
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A child that has ended: its status, collected.
int Reap(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) != pid) {
    if (errno != EINTR) return -1;
  }
  return ExitCode(status);
}

// A descriptor that becomes readable when `pid` ends; -1 where the kernel has none to give.
int OpenPidfd(pid_t pid) {
#ifdef SYS_pidfd_open
  return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#else
  (void)pid;
  errno = ENOSYS;
  return -1;
#endif
}

// True when the child ended before the deadline; nothing when the pidfd cannot be waited on.
std::optional<bool> WaitOnPidfd(int pidfd, Clock::time_point deadline) {
  for (;;) {
    pollfd ended = {pidfd, POLLIN, 0};
    const int ready = poll(&ended, 1, MillisecondsLeft(deadline));
    if (ready > 0) return true;
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) return std::nullopt;
    if (MillisecondsLeft(deadline) == 0) return false;
  }
}

}  // namespace

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left <= 0 ? 0 : static_cast<int>(std::min<int64_t>(left, INT32_MAX));
}

std::optional<int> WaitForExit(pid_t pid, Clock::time_point deadline) {
  const int pidfd = OpenPidfd(pid);
  if (pidfd < 0) return WaitForExitPolling(pid, deadline);
  const std::optional<bool> ended = WaitOnPidfd(pidfd, deadline);
  close(pidfd);
  if (!ended) return WaitForExitPolling(pid, deadline);
  if (!*ended) return std::nullopt;
  return Reap(pid);
}

std::optional<int> WaitForExitPolling(pid_t pid, Clock::time_point deadline) {
  constexpr auto kNap = std::chrono::milliseconds(5);
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) return ExitCode(status);
    if (done < 0 && errno != EINTR) return -1;
    if (Clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(kNap);
  }
}

void KillProcessGroup(pid_t pid) {
  kill(-pid, SIGKILL);
  kill(pid, SIGKILL);  // and itself, should it have left its group
  Reap(pid);
}

}  // namespace vellumo
