#pragma once

#include <signal.h>
#include <sys/types.h>

#include <string>

namespace vellumo::test {

// An Xvfb of its own on a free display number; display() is empty when none started.
// -noreset keeps the root background when the last client disconnects.
class XvfbServer {
 public:
  explicit XvfbServer(const std::string& screen);
  ~XvfbServer() { Stop(); }
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;
  const std::string& display() const { return display_; }

  // Stops answering, as a server that hangs, while still accepting connections; and back.
  void Pause() const { Signal(SIGSTOP); }
  void Resume() const { Signal(SIGCONT); }

 private:
  bool Start(const std::string& screen, const std::string& display);
  void Stop();
  void Signal(int signal) const {
    if (pid_ > 0) kill(pid_, signal);
  }

  pid_t pid_ = -1;
  std::string display_;
};

}  // namespace vellumo::test
