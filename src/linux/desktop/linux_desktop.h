#pragma once

#include <string>

#include "platform/desktop.h"

namespace vellumo {

// What decides how the wallpaper is set: the running desktop and the X display.
struct DesktopEnvironment {
  std::string xdg_current_desktop;  // XDG_CURRENT_DESKTOP, e.g. "ubuntu:GNOME"
  std::string display;              // DISPLAY, e.g. ":0"
};

// Sets the wallpaper through the desktop's own settings (gsettings) where the desktop is one we
// know, and otherwise, or when that fails, as the background of the X root window.
class LinuxDesktop : public Desktop {
 public:
  explicit LinuxDesktop(DesktopEnvironment environment);
  // Reads the environment of this process.
  static LinuxDesktop FromEnvironment();

  bool SetWallpaper(const std::string& bitmap, Layout layout, std::string* failure) override;

 private:
  bool Set(const std::string& bitmap, Layout layout, std::string& failure) const;

  DesktopEnvironment environment_;
};

}  // namespace vellumo
