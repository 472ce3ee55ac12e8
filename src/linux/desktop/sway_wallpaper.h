#pragma once

#include <chrono>
#include <string>

#include "wallpaper_backend.h"

namespace vellumo {

// Sway and the wlroots compositors that speak its IPC: `swaymsg output '*' bg PATH MODE` sets
// every output's background (sway restarts swaybg with it).
class SwayWallpaper : public WallpaperBackend {
 public:
  // `socket` is SWAYSOCK; an empty one leaves finding sway to swaymsg.
  explicit SwayWallpaper(std::string socket, std::chrono::milliseconds time_limit = kStepTimeLimit)
      : socket_(std::move(socket)), time_limit_(time_limit) {}

  BackendResult Set(const std::string& absolute_path, Layout layout) override;

 private:
  std::string socket_;
  std::chrono::milliseconds time_limit_;
};

// The path as one word of a sway command: "'/a b/it'\\''s.png'" for /a b/it's.png.
std::string SwayPathArgument(const std::string& absolute_path);

}  // namespace vellumo
