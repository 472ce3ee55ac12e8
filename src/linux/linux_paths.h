#pragma once

#include <string>

namespace vellumo {

// $XDG_CONFIG_HOME, or ~/.config when it is unset or not absolute.
std::string ConfigHome();
// $XDG_DATA_HOME, or ~/.local/share.
std::string DataHome();

std::string SettingsFilePath();  // <config>/vellumo/settings.ini

// The default source folder: the first existing of the system's wallpaper folders, else the
// user's Pictures folder; always ending in "/".
std::string WallpaperFolder();

// The running executable's absolute path; empty when it cannot be found (no /proc).
std::string ExePath();
// The folder holding it, without a trailing "/"; empty when it cannot be found.
std::string ExeFolder();

// The wallpaper file's place (see wallpaper_files.h), vellumo.png beside the executable; empty
// when that folder is unknown or lies under /usr. Whether the folder takes the file shows when
// it is written.
std::string BitmapPath();
// vellumo.png in <data>/vellumo/ (created when missing), for when the first one is refused.
std::string FallbackBitmapPath();

}  // namespace vellumo
