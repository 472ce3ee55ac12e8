#include "command.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

// Reads both pipes until the program has closed them; reading them together keeps a program
// that fills one pipe from blocking while we wait on the other.
void DrainPipes(Pipe& out, Pipe& err, std::string& output, std::string& errors) {
  pollfd fds[2] = {{out.read_end(), POLLIN, 0}, {err.read_end(), POLLIN, 0}};
  std::string* sinks[2] = {&output, &errors};
  int open_count = 2;
  char buffer[4096];
  while (open_count > 0) {
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
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
}

int WaitForExit(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

CommandResult RunCommand(const std::vector<std::string>& argv) {
  CommandResult result;
  if (argv.empty()) return result;
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
  pid_t pid = 0;
  int spawn_error = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  out.CloseWrite();
  err.CloseWrite();
  if (spawn_error != 0) {
    result.start_error = spawn_error;
    return result;
  }
  result.started = true;
  DrainPipes(out, err, result.output, result.errors);
  result.exit_code = WaitForExit(pid);
  return result;
}

std::string DescribeFailure(const CommandResult& result) {
  if (!result.started) {
    if (result.start_error == ENOENT) return "not found";
    return std::strerror(result.start_error);
  }
  if (result.exit_code < 0) return "killed by a signal";
  std::string text = "exit " + std::to_string(result.exit_code);
  std::string first_line = result.errors.substr(0, result.errors.find('\n'));
  if (!first_line.empty()) text += ": " + first_line;
  return text;
}

}  // namespace vellumo
