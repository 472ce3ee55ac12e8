#include "change/wallpaper.h"

namespace vellumo {

Layout LayoutForMode(std::string_view mode) {
  if (mode == "CENTER") return Layout::kCentered;
  if (mode == "TILED") return Layout::kTiled;
  return Layout::kStretched;
}

const char* TileWallpaperValue(Layout layout) {
  return layout == Layout::kTiled ? "1" : "0";
}

const char* WallpaperStyleValue(Layout layout) {
  return layout == Layout::kStretched ? "2" : "0";
}

bool Set_Wallpaper(Desktop& desktop, const std::string& bitmap, std::string_view mode,
                   std::string* failure) {
  return desktop.SetWallpaper(bitmap, LayoutForMode(mode), failure);
}

}  // namespace vellumo
