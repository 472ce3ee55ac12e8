#include "xvfb_server.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

namespace vellumo::test {

XvfbServer::XvfbServer(const std::string& screen) {
  for (int number = 87; number < 120 && display_.empty(); ++number) {
    if (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number)) ||
        std::filesystem::exists("/tmp/.X" + std::to_string(number) + "-lock")) {
      continue;
    }
    if (!Start(":" + std::to_string(number), screen)) return;
  }
}

bool XvfbServer::Start(const std::string& display, const std::string& screen) {
  std::vector<std::string> argv = {"Xvfb", display,    "-screen",   "0",
                                   screen, "-noreset", "-nolisten", "tcp"};
  std::vector<char*> args;
  for (std::string& arg : argv) args.push_back(arg.data());
  args.push_back(nullptr);
  int ready[2];
  if (pipe2(ready, O_CLOEXEC) != 0) return false;
  pid_ = fork();
  if (pid_ == 0) {
    // The server goes with the test process, even when a test crashes it.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    execvp("Xvfb", args.data());
    char failed = 1;
    (void)!write(ready[1], &failed, 1);
    _exit(127);
  }
  close(ready[1]);
  char failed = 0;
  bool not_installed = read(ready[0], &failed, 1) == 1;  // closed on a successful exec
  close(ready[0]);
  if (pid_ < 0 || not_installed) {
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
    pid_ = -1;
    return false;
  }
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
      pid_ = -1;  // the number was taken after all: try the next one
      return true;
    }
    if (Display* probe = XOpenDisplay(display.c_str())) {
      XCloseDisplay(probe);
      display_ = display;
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  Stop();
  return true;
}

void XvfbServer::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

}  // namespace vellumo::test
