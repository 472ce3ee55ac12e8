#pragma once

#include <chrono>
#include <string>

#include "desktop_family.h"
#include "platform/desktop.h"

namespace vellumo {

// Sets the wallpaper of a GSettings desktop by running `gsettings`. `absolute_path` names the
// bitmap. On failure returns false and says why in `failure` ("gsettings failed (exit 1: ...)").
// All the calls together get `time_limit`; a gsettings still running then is killed.
inline constexpr std::chrono::milliseconds kGsettingsTimeLimit{10'000};
bool SetWallpaperWithGsettings(DesktopFamily family, const std::string& absolute_path,
                               Layout layout, std::string& failure,
                               std::chrono::milliseconds time_limit = kGsettingsTimeLimit);

}  // namespace vellumo
