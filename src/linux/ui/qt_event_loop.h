#pragma once

#include "platform/event_loop.h"

namespace vellumo {

// The program's one thread's loop, run on Qt's. A QApplication must exist.
class QtEventLoop : public EventLoop {
 public:
  void Yield() override;
  // Runs until no window is left: no top-level widget without a parent, hidden or shown, menus
  // and tool tips aside. Windows go by being deleted (deleteLater included).
  void Wait(std::chrono::milliseconds time) override;
  void Run() override;
  [[noreturn]] void EndNow(int exit_code) override;
  int ScreenDpi() override;
};

// Logical dots per inch of the primary screen; 96 without one.
int QtScreenDpi();

}  // namespace vellumo
