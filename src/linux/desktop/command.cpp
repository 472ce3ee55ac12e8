#include "command.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "child_process.h"

extern char** environ;

namespace vellumo {
namespace {

class Pipe {
 public:
  Pipe() {
    if (pipe2(fds_, O_CLOEXEC) != 0) fds_[0] = fds_[1] = -1;
  }
  ~Pipe() {
    CloseRead();
    CloseWrite();
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;

  bool ok() const { return fds_[0] >= 0; }
  int read_end() const { return fds_[0]; }
  int write_end() const { return fds_[1]; }
  void CloseRead() { Close(fds_[0]); }
  void CloseWrite() { Close(fds_[1]); }

 private:
  static void Close(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
  }
  int fds_[2] = {-1, -1};
};

using Clock = std::chrono::steady_clock;

// Reads both pipes until the program has closed them; reading them together keeps a program
// that fills one pipe from blocking while we wait on the other. False when the deadline passed
// first.
bool DrainPipes(Pipe& out, Pipe& err, std::string& output, std::string& errors,
                Clock::time_point deadline) {
  pollfd fds[2] = {{out.read_end(), POLLIN, 0}, {err.read_end(), POLLIN, 0}};
  std::string* sinks[2] = {&output, &errors};
  int open_count = 2;
  char buffer[4096];
  while (open_count > 0) {
    const int left = MillisecondsLeft(deadline);
    if (left == 0) return false;  // checked first, so a chatty program cannot outrun it
    const int ready = poll(fds, 2, left);
    if (ready == 0) return false;
    if (ready < 0) {
      if (errno == EINTR) continue;
      return true;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        fds[i].fd = -1;
        --open_count;
        continue;
      }
      sinks[i]->append(buffer, static_cast<size_t>(n));
    }
  }
  return true;
}

}  // namespace

CommandResult RunCommand(const std::vector<std::string>& argv, Clock::time_point deadline) {
  CommandResult result;
  if (argv.empty()) return result;
  if (Clock::now() >= deadline) {
    result.timed_out = true;  // no time left to even start it
    return result;
  }
  Pipe out;
  Pipe err;
  if (!out.ok() || !err.ok()) {
    result.start_error = errno;
    return result;
  }
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out.write_end(), STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err.write_end(), STDERR_FILENO);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  pid_t pid = 0;
  int spawn_error = posix_spawnp(&pid, args[0], &actions, &attributes, args.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  out.CloseWrite();
  err.CloseWrite();
  if (spawn_error != 0) {
    result.start_error = spawn_error;
    return result;
  }
  result.started = true;
  // The program may close its output and still linger: its exit has the same deadline.
  std::optional<int> exit_code;
  if (DrainPipes(out, err, result.output, result.errors, deadline)) {
    exit_code = WaitForExit(pid, deadline);
  }
  if (!exit_code) {
    KillProcessGroup(pid);
    result.timed_out = true;
    return result;
  }
  result.exit_code = *exit_code;
  return result;
}

std::string DescribeFailure(const CommandResult& result) {
  if (!result.started) {
    if (result.start_error == ENOENT) return "not found";
    return std::strerror(result.start_error);
  }
  if (result.timed_out) return "no answer in time";
  if (result.exit_code < 0) return "killed by a signal";
  std::string text = "exit " + std::to_string(result.exit_code);
  std::string first_line = result.errors.substr(0, result.errors.find('\n'));
  if (!first_line.empty()) text += ": " + first_line;
  return text;
}

}  // namespace vellumo
