#pragma once

#include <chrono>
#include <string>

#include "wallpaper_backend.h"

namespace vellumo {

// Enough for a large picture to be decoded and sent to the server.
inline constexpr std::chrono::milliseconds kXTimeLimit{20'000};

// Any other X11 session: the picture becomes the root window's background. Xlib waits for ever
// on a server that accepts the connection but never answers, so the X work runs in a child
// process that is ended at the time limit.
class XRootWallpaper : public WallpaperBackend {
 public:
  explicit XRootWallpaper(std::string display, std::chrono::milliseconds time_limit = kXTimeLimit)
      : display_(std::move(display)), time_limit_(time_limit) {}

  BackendResult Set(const std::string& absolute_path, Layout layout) override;

 private:
  std::string display_;
  std::chrono::milliseconds time_limit_;
};

}  // namespace vellumo
