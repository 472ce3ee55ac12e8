#include "child_work.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "child_process.h"

namespace vellumo {
namespace {

using Clock = std::chrono::steady_clock;

void WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

[[noreturn]] void RunAndExit(const std::function<bool(std::string&)>& work, int fd) {
  std::string text;
  bool succeeded = false;
  try {
    succeeded = work(text);
  } catch (...) {
    text = "unexpected error";
  }
  WriteAll(fd, text);
  _exit(succeeded ? 0 : 1);  // no exit handlers: they belong to the parent
}

// Reads the child's text until it closes the pipe; false at the deadline.
bool ReadUntilClosed(int fd, std::string& text, Clock::time_point deadline) {
  char buffer[1024];
  for (;;) {
    const int left = MillisecondsLeft(deadline);
    if (left == 0) return false;
    pollfd ready = {fd, POLLIN, 0};
    const int polled = poll(&ready, 1, left);
    if (polled < 0 && errno == EINTR) continue;
    if (polled <= 0) continue;  // re-checks the deadline
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return true;
    text.append(buffer, static_cast<size_t>(n));
  }
}

}  // namespace

ChildWorkResult RunInChild(const std::function<bool(std::string& text)>& work,
                           std::chrono::milliseconds time_limit) {
  ChildWorkResult result;
  const Clock::time_point deadline = Clock::now() + time_limit;
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    result.finished = true;
    result.text = "cannot make a pipe";
    return result;
  }
  const pid_t pid = fork();
  if (pid == 0) {
    setpgid(0, 0);
    close(fds[0]);
    RunAndExit(work, fds[1]);
  }
  close(fds[1]);
  if (pid < 0) {
    close(fds[0]);
    result.finished = true;
    result.text = "cannot start a process";
    return result;
  }
  setpgid(pid, pid);  // also here, so the group exists whichever of the two runs first
  const bool read_all = ReadUntilClosed(fds[0], result.text, deadline);
  close(fds[0]);
  const std::optional<int> exit_code = read_all ? WaitForExit(pid, deadline) : std::optional<int>();
  if (exit_code) {
    result.finished = true;
    result.succeeded = *exit_code == 0;
    return result;
  }
  KillProcessGroup(pid);
  result.text.clear();
  return result;
}

}  // namespace vellumo
