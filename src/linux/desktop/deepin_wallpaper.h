#pragma once

#include <chrono>
#include <string>

#include "wallpaper_backend.h"

namespace vellumo {

// Deepin: the Appearance service sets each monitor's background (it has no layout of ours: the
// picture always fills the monitor). Deepin 23 renamed its services; both names are tried.
class DeepinWallpaper : public WallpaperBackend {
 public:
  // `bus_address` empty: the user's session bus.
  explicit DeepinWallpaper(std::string bus_address = {},
                           std::chrono::milliseconds time_limit = kStepTimeLimit)
      : bus_address_(std::move(bus_address)), time_limit_(time_limit) {}

  BackendResult Set(const std::string& absolute_path, Layout layout) override;
  // The path goes over D-Bus as text.
  bool CanShow(const std::string& absolute_path) const override;

 private:
  std::string bus_address_;
  std::chrono::milliseconds time_limit_;
};

}  // namespace vellumo
