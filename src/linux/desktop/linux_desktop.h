#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "desktop_chooser.h"
#include "platform/desktop.h"
#include "retry.h"
#include "wallpaper_backend.h"
#include "x_root_wallpaper.h"

namespace vellumo {

struct LinuxDesktopOptions {
  RetryPolicy retry;
  std::chrono::milliseconds step_limit = kStepTimeLimit;  // each command or D-Bus call
  std::chrono::milliseconds x_limit = kXTimeLimit;        // the whole X root window work
  std::string bus_address;                                // empty: the user's session bus
  // Hears one line at a time: the desktop chosen and why, and waits for its service. Empty:
  // standard error.
  std::function<void(const std::string&)> report;
};

// Sets the wallpaper with the back-end of the running desktop, chosen from the environment.
class LinuxDesktop : public Desktop {
 public:
  explicit LinuxDesktop(DesktopEnvironment environment, LinuxDesktopOptions options = {});
  // Reads the environment of this process.
  static LinuxDesktop FromEnvironment();

  bool SetWallpaper(const std::string& bitmap, Layout layout, std::string* failure) override;
  // Whether this desktop can be handed a wallpaper file at `path` (absolute), so a place it
  // cannot show is not written to.
  bool CanShow(const std::string& path) const;

 private:
  bool Set(const std::string& bitmap, Layout layout, std::string& failure) const;
  std::unique_ptr<WallpaperBackend> MakeBackend(DesktopKind kind) const;
  void Report(const std::string& line) const;

  DesktopEnvironment environment_;
  LinuxDesktopOptions options_;
};

}  // namespace vellumo
