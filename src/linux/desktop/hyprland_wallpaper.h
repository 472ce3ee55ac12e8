#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "wallpaper_backend.h"

namespace vellumo {

// Hyprland with hyprpaper, through `hyprctl hyprpaper`: the picture is preloaded, shown on every
// monitor, and the pictures no monitor shows any more are unloaded. hyprpaper always fills the
// monitor (cropping); tile and centre use its "tile:" and "contain:" prefixes, which older
// versions refuse: the plain picture is shown then.
class HyprlandWallpaper : public WallpaperBackend {
 public:
  explicit HyprlandWallpaper(std::chrono::milliseconds time_limit = kStepTimeLimit)
      : time_limit_(time_limit) {}

  BackendResult Set(const std::string& absolute_path, Layout layout) override;
  // hyprpaper versions that read their commands as configuration lines take a '#' as the start
  // of a comment and replace the $variables of its configuration.
  bool CanShow(const std::string& absolute_path) const override;

 private:
  // hyprctl hyprpaper ...; empty when it answered "ok", else why not.
  std::optional<std::string> Hyprpaper(const std::vector<std::string>& words, bool& missing) const;

  std::chrono::milliseconds time_limit_;
};

// The monitor names in the output of `hyprctl monitors`: "Monitor DP-1 (ID 0):" lines.
std::vector<std::string> HyprlandMonitors(std::string_view listing);

}  // namespace vellumo
