#pragma once

#include "win.h"

#include "platform/event_loop.h"

namespace vellumo {

// The Win32 message loop of the program's one thread. Windows created with it are counted, and
// Run ends when the last of them is gone.
class WinEventLoop : public EventLoop {
 public:
  void Yield() override;
  void Wait(std::chrono::milliseconds time) override;
  void Run() override;
  [[noreturn]] void EndNow(int exit_code) override;
  int ScreenDpi() override;

  // A nested loop for a modal window: returns once `window` is destroyed or the program quits.
  void RunUntilDestroyed(HWND window);

  void WindowCreated() { ++live_windows_; }
  void WindowDestroyed();
  int LiveWindows() const { return live_windows_; }

 private:
  int live_windows_ = 0;
};

}  // namespace vellumo
