#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "wallpaper_backend.h"

namespace vellumo {

// KDE Plasma 5 and 6: plasmashell runs a script, sent over D-Bus, that gives every desktop
// the image wallpaper with our picture and fill mode.
class KdeWallpaper : public WallpaperBackend {
 public:
  // `bus_address` empty: the user's session bus.
  explicit KdeWallpaper(std::string bus_address = {},
                        std::chrono::milliseconds time_limit = kStepTimeLimit)
      : bus_address_(std::move(bus_address)), time_limit_(time_limit) {}

  BackendResult Set(const std::string& absolute_path, Layout layout) override;
  // Plasma reads the file URI's escapes as UTF-8: a name in another encoding does not show.
  bool CanShow(const std::string& absolute_path) const override;

 private:
  std::string bus_address_;
  std::chrono::milliseconds time_limit_;
};

// The text as a single-quoted JavaScript string literal that stands for exactly that text:
// quotes, backslashes, line ends and every character outside printable ASCII escaped.
std::string QuoteJavaScriptString(std::string_view utf8);

// The script for plasmashell's evaluateScript.
std::string PlasmaWallpaperScript(const std::string& absolute_path, Layout layout);

}  // namespace vellumo
