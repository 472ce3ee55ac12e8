#include "xvfb_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace vellumo::test {

namespace {

// Reads the display number Xvfb writes once it accepts connections; empty when it ends (or was
// never started) without writing one, or takes too long.
std::string ReadDisplayNumber(int fd) {
  constexpr int kStartTimeoutMs = 20000;
  std::string number;
  for (;;) {
    pollfd ready = {fd, POLLIN, 0};
    if (poll(&ready, 1, kStartTimeoutMs) <= 0) return {};
    char c = 0;
    if (read(fd, &c, 1) != 1) return {};
    if (c == '\n') return number;
    number += c;
  }
}

// The display numbers of $VELLUMO_XVFB_DISPLAYS ("241-245" or "241"); none when unset.
std::vector<std::string> AssignedDisplays() {
  const char* range = std::getenv("VELLUMO_XVFB_DISPLAYS");
  if (!range || !*range) return {};
  const int first = std::atoi(range);
  const char* dash = std::strchr(range, '-');
  const int last = dash ? std::atoi(dash + 1) : first;
  std::vector<std::string> numbers;
  for (int n = first; n <= last && n >= 0; ++n) numbers.push_back(std::to_string(n));
  return numbers;
}

}  // namespace

XvfbServer::XvfbServer(const std::string& screen) {
  const auto assigned = AssignedDisplays();
  if (assigned.empty()) {
    Start(screen, {});
    return;
  }
  for (const std::string& number : assigned)
    if (Start(screen, number)) return;
}

bool XvfbServer::Start(const std::string& screen, const std::string& number) {
  int number_pipe[2];
  if (pipe2(number_pipe, O_CLOEXEC) != 0) return false;
  // With -displayfd the server tells us its display once it accepts connections; without a
  // number it picks a free one itself, so test programs started together never race for one.
  std::vector<std::string> argv = {"Xvfb",     "-displayfd", std::to_string(number_pipe[1]),
                                   "-screen",  "0",          screen,
                                   "-noreset", "-nolisten",  "tcp"};
  if (!number.empty()) argv.insert(argv.begin() + 1, ":" + number);
  std::vector<char*> args;
  for (std::string& arg : argv) args.push_back(arg.data());
  args.push_back(nullptr);
  pid_ = fork();
  if (pid_ == 0) {
    // The server goes with the test process, even when a test crashes it.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    fcntl(number_pipe[1], F_SETFD, 0);  // the one descriptor the server inherits
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    execvp("Xvfb", args.data());
    _exit(127);  // not installed: the pipe closes without a number
  }
  close(number_pipe[1]);
  const std::string started = pid_ > 0 ? ReadDisplayNumber(number_pipe[0]) : std::string();
  close(number_pipe[0]);
  if (started.empty()) {
    Stop();
    return false;
  }
  display_ = ":" + started;
  return true;
}

void XvfbServer::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

}  // namespace vellumo::test
