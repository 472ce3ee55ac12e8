#pragma once

#include <windows.h>

#include <string>

#include "platform/desktop.h"

namespace vellumo {

// Writes one REG_SZ value under an existing key of `root` (the key is not created). When the key
// cannot be opened that error is returned at once; once it is open, setting, flushing and
// closing are all attempted even after one of them fails. Returns the first error,
// ERROR_SUCCESS when all went well.
LONG Write_Registry_String(HKEY root, const std::string& subkey, const std::string& name,
                           const std::string& value);

// The Windows desktop: layout values under HKCU\Control Panel\Desktop, then the wallpaper
// itself through SystemParametersInfo.
class WinDesktop : public Desktop {
 public:
  static constexpr const char* kDesktopKey = "Control Panel\\Desktop";

  bool SetWallpaper(const std::string& bitmap, Layout layout, std::string* failure) override;
};

}  // namespace vellumo
