#pragma once

#include <string>

#include "desktop_family.h"
#include "platform/desktop.h"

namespace vellumo {

// Sets the wallpaper of a GSettings desktop by running `gsettings`. `absolute_path` names the
// bitmap. On failure returns false and says why in `failure` ("gsettings failed (exit 1: ...)").
bool SetWallpaperWithGsettings(DesktopFamily family, const std::string& absolute_path,
                               Layout layout, std::string& failure);

}  // namespace vellumo
