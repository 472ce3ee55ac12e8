#pragma once

#include <memory>
#include <string>

#include "ui/main_view.h"

namespace vellumo {

// What the change screen's window reports back to its logic.
class ChangeScreenEvents {
 public:
  virtual ~ChangeScreenEvents() = default;
  virtual void OnTimer() = 0;
  virtual void OnKeyPress(int char_code) = 0;
};

// The change screen's window: a small notice with the program's name and a file name.
class ChangeScreenView {
 public:
  virtual ~ChangeScreenView() = default;

  virtual void Show() = 0;
  // Shows the window modal to the whole program; returns once Destroy() has run.
  virtual void ShowModal() = 0;
  virtual void SetFileName(const std::string& text) = 0;
  // Shortens `path` to `width` pixels, measured in the window's own drawing context and font.
  virtual std::string TruncatePath(const std::string& path, int width) = 0;
  // One tick after `milliseconds`, delivered as OnTimer until StopTimer.
  virtual void StartTimer(int milliseconds) = 0;
  virtual void StopTimer() = 0;
  // 0 alpha applied, 1 alpha outside 0..255, 2 the system call failed.
  virtual int SetTranslucency(int alpha) = 0;
  virtual void Destroy() = 0;
};

// Creates the windows; each platform has one.
class Views {
 public:
  virtual ~Views() = default;
  virtual std::unique_ptr<ChangeScreenView> CreateChangeScreen(ChangeScreenEvents& events) = 0;
  virtual std::unique_ptr<MainView> CreateMain(MainEvents& events) = 0;
};

}  // namespace vellumo
