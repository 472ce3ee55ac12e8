#pragma once

#include <sys/types.h>

#include <string>

namespace vellumo::test {

// An Xvfb of its own on a display number it chose; display() is empty when none started.
// -noreset keeps the root background when the last client disconnects.
class XvfbServer {
 public:
  explicit XvfbServer(const std::string& screen);
  ~XvfbServer() { Stop(); }
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;
  const std::string& display() const { return display_; }

 private:
  void Stop();

  pid_t pid_ = -1;
  std::string display_;
};

}  // namespace vellumo::test
