#pragma once

#include <string>

#include "change/change_screen_view.h"
#include "event_loop.h"
#include "gdi.h"
#include "window.h"

namespace vellumo {

inline constexpr wchar_t kMainClass[] = L"VellumoMain";

// frmMain's window. For now it is created hidden and never shown: it hosts the settings logic
// in both runs and measures text for the folder search's progress display.
class WinMainView : public MainView {
 public:
  explicit WinMainView(WinEventLoop& loop);

  void SetEnabled(bool enabled) override;
  std::string TruncatePath(const std::string& path, int width) override;

  HWND hwnd() const { return window_.hwnd(); }

 private:
  Font font_;
  Window window_;
};

}  // namespace vellumo
