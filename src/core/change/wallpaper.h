#pragma once

#include <string>
#include <string_view>

#include "platform/desktop.h"

namespace vellumo {

// "CENTER" and "TILED" compared exactly; any other text, the empty one included, stretches.
Layout LayoutForMode(std::string_view mode);

// The values of TileWallpaper and WallpaperStyle under the user's "Control Panel\Desktop".
const char* TileWallpaperValue(Layout layout);
const char* WallpaperStyleValue(Layout layout);

bool Set_Wallpaper(Desktop& desktop, const std::string& bitmap, std::string_view mode,
                   std::string* failure);

}  // namespace vellumo
