#pragma once

#include <chrono>
#include <memory>

#include "change/change_screen_view.h"
#include "platform/event_loop.h"

namespace vellumo {

// The event loop and windows of a run without a window system: the change screen exists only
// as its timer, which Run waits for. Used by a background run with no display to show on.
class HeadlessLoop : public EventLoop, public Views {
 public:
  void Yield() override {}
  void Wait(std::chrono::milliseconds) override {}  // nothing on screen to pace
  void Run() override;
  [[noreturn]] void EndNow(int exit_code) override;
  int ScreenDpi() override { return 96; }

  std::unique_ptr<ChangeScreenView> CreateChangeScreen(ChangeScreenEvents& events) override;
  std::unique_ptr<MainView> CreateMain(MainEvents& events) override;

  // Called by the headless change screen.
  void Arm(ChangeScreenEvents* events, std::chrono::milliseconds delay);
  void Disarm(ChangeScreenEvents* events);

 private:
  ChangeScreenEvents* armed_ = nullptr;
  std::chrono::steady_clock::time_point due_;
};

// Path shortening without a drawing context: an average character width stands in for the
// font's measure.
std::string TruncatePathHeadless(const std::string& path, int width);

}  // namespace vellumo
