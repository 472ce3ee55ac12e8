#include "xvfb_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
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

// VELLUMO_TEST_DISPLAYS="221-229" keeps the servers to those display numbers, for machines
// shared with other people's X servers; otherwise the server picks a free number itself.
std::vector<std::string> DisplayChoices() {
  std::vector<std::string> choices;
  const char* range = std::getenv("VELLUMO_TEST_DISPLAYS");
  int first = 0;
  int last = -1;
  if (range && std::sscanf(range, "%d-%d", &first, &last) == 2) {
    // Appended rather than added: GCC 12 at -O3 sees a false overlap in ":" + string.
    for (int n = first; n <= last; ++n)
      choices.push_back(std::string(":").append(std::to_string(n)));
  }
  if (choices.empty()) choices.push_back("");
  return choices;
}

}  // namespace

XvfbServer::XvfbServer(const std::string& screen) {
  for (const std::string& display : DisplayChoices()) {
    if (Start(screen, display)) return;
  }
}

bool XvfbServer::Start(const std::string& screen, const std::string& display) {
  int number_pipe[2];
  if (pipe2(number_pipe, O_CLOEXEC) != 0) return false;
  // The server tells us its display number once it accepts connections, so test programs
  // started together never race for the same one.
  std::vector<std::string> argv = {"Xvfb",     "-displayfd", std::to_string(number_pipe[1]),
                                   "-screen",  "0",          screen,
                                   "-noreset", "-nolisten",  "tcp"};
  if (!display.empty()) argv.insert(argv.begin() + 1, display);
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
  const std::string number = pid_ > 0 ? ReadDisplayNumber(number_pipe[0]) : std::string();
  close(number_pipe[0]);
  if (number.empty()) {
    Stop();  // not installed, or that display is taken
    return false;
  }
  display_ = ":" + number;
  return true;
}

void XvfbServer::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGCONT);  // a paused server could not end
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

}  // namespace vellumo::test
