#pragma once

#include <chrono>
#include <optional>
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
  // Any path but one holding a line break, which sway's IPC reads as the end of a command.
  bool CanShow(const std::string& absolute_path) const override;

 private:
  std::string socket_;
  std::chrono::milliseconds time_limit_;
};

// The absolute path as the word of a sway command that sway reads back as exactly that path:
// /a\ b/it"'"s.png for /a b/it's.png. Nothing for a path holding a line break.
std::optional<std::string> SwayPathArgument(const std::string& absolute_path);

}  // namespace vellumo
