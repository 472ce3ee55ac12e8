#pragma once

#include <chrono>
#include <string>

#include "desktop_family.h"
#include "platform/desktop.h"
#include "wallpaper_backend.h"

namespace vellumo {

// Sets the wallpaper of a GSettings desktop by running `gsettings`. `absolute_path` names the
// bitmap. On failure returns false and says why in `failure` ("gsettings failed (exit 1: ...)").
// All the calls together get `time_limit`; a gsettings still running then is killed.
inline constexpr std::chrono::milliseconds kGsettingsTimeLimit{10'000};
bool SetWallpaperWithGsettings(DesktopFamily family, const std::string& absolute_path,
                               Layout layout, std::string& failure,
                               std::chrono::milliseconds time_limit = kGsettingsTimeLimit);

// The same as a back-end.
class GsettingsWallpaper : public WallpaperBackend {
 public:
  explicit GsettingsWallpaper(DesktopFamily family,
                              std::chrono::milliseconds time_limit = kGsettingsTimeLimit)
      : family_(family), time_limit_(time_limit) {}

  BackendResult Set(const std::string& absolute_path, Layout layout) override {
    std::string failure;
    if (SetWallpaperWithGsettings(family_, absolute_path, layout, failure, time_limit_)) {
      return BackendResult::Set();
    }
    return BackendResult::Failed(failure);
  }
  // MATE's key holds the path as text, which must be UTF-8; the others a file URI, escaped.
  bool CanShow(const std::string& absolute_path) const override;

 private:
  DesktopFamily family_;
  std::chrono::milliseconds time_limit_;
};

}  // namespace vellumo
