#include "win_views.h"

#include "changing_window.h"
#include "main_window.h"

namespace vellumo {

std::unique_ptr<ChangeScreenView> WinViews::CreateChangeScreen(ChangeScreenEvents& events) {
  return std::make_unique<WinChangeScreenView>(events, loop_);
}

std::unique_ptr<MainView> WinViews::CreateMain(MainEvents& events) {
  return std::make_unique<WinMainView>(events, loop_);
}

}  // namespace vellumo
