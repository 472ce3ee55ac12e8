#pragma once

#include "change/change_screen_view.h"
#include "event_loop.h"

namespace vellumo {

// Creates the program's Win32 windows, each counted by the message loop.
class WinViews : public Views {
 public:
  explicit WinViews(WinEventLoop& loop) : loop_(loop) {}

  std::unique_ptr<ChangeScreenView> CreateChangeScreen(ChangeScreenEvents& events) override;
  std::unique_ptr<MainView> CreateMain(MainEvents& events) override;

 private:
  WinEventLoop& loop_;
};

}  // namespace vellumo
