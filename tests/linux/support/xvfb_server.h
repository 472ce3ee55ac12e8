#pragma once

#include <sys/types.h>

#include <string>

namespace vellumo::test {

// An Xvfb of its own on a display number it chose, or on the first free one of the range
// $VELLUMO_XVFB_DISPLAYS ("241-245") where a machine shared with others assigns numbers;
// display() is empty when none started. -noreset keeps the root background when the last
// client disconnects.
class XvfbServer {
 public:
  explicit XvfbServer(const std::string& screen);
  ~XvfbServer() { Stop(); }
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;
  const std::string& display() const { return display_; }

 private:
  // Starts Xvfb on `number`, or on a number of its choosing when empty; true once it runs.
  bool Start(const std::string& screen, const std::string& number);
  void Stop();

  pid_t pid_ = -1;
  std::string display_;
};

}  // namespace vellumo::test
