#include "win_desktop.h"

#include "change/wallpaper.h"
#include "utf.h"

namespace vellumo {
namespace {

LONG FirstError(LONG earlier, LONG now) {
  return earlier != ERROR_SUCCESS ? earlier : now;
}

}  // namespace

LONG Write_Registry_String(HKEY root, const std::string& subkey, const std::string& name,
                           const std::string& value) {
  const std::wstring text = Widen(value);
  const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));

  HKEY key = nullptr;
  LONG status = RegOpenKeyExW(root, Widen(subkey).c_str(), 0, KEY_SET_VALUE, &key);
  // Without an open key the remaining steps have nothing to act on.
  if (status != ERROR_SUCCESS) return status;
  status = FirstError(status, RegSetValueExW(key, Widen(name).c_str(), 0, REG_SZ,
                                             reinterpret_cast<const BYTE*>(text.c_str()), bytes));
  status = FirstError(status, RegFlushKey(key));
  return FirstError(status, RegCloseKey(key));
}

bool WinDesktop::SetWallpaper(const std::string& bitmap, Layout layout, std::string* failure) {
  // An empty path would remove the wallpaper rather than set one.
  if (bitmap.empty()) {
    if (failure != nullptr) *failure = "no wallpaper bitmap given";
    return false;
  }
  // Both layout values are in place before the wallpaper is set, so the desktop draws the new
  // picture with its new layout in one step. A value that cannot be written leaves the old
  // layout; the wallpaper is still set.
  Write_Registry_String(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper",
                        TileWallpaperValue(layout));
  Write_Registry_String(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle",
                        WallpaperStyleValue(layout));

  std::wstring path = Widen(bitmap);
  if (SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(),
                            SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE))
    return true;
  const DWORD error = GetLastError();
  if (failure != nullptr)
    *failure = "the system did not take the wallpaper " + bitmap + " (error " +
               std::to_string(error) + ")";
  return false;
}

}  // namespace vellumo
