#pragma once

#include <sys/types.h>

#include <string>

namespace vellumo::test {

// An Xvfb of its own on the first free display number; display() is empty when none started.
// -noreset keeps the root background when the last client disconnects.
class XvfbServer {
 public:
  explicit XvfbServer(const std::string& screen);
  ~XvfbServer() { Stop(); }
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;
  const std::string& display() const { return display_; }

 private:
  // False when Xvfb cannot be run at all; true otherwise, with display_ set when it answered.
  bool Start(const std::string& display, const std::string& screen);
  void Stop();

  pid_t pid_ = -1;
  std::string display_;
};

}  // namespace vellumo::test
