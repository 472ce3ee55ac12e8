#pragma once

#include <string_view>

namespace vellumo {

// The desktops whose wallpaper lives in a GSettings schema, by the schema they read.
enum class DesktopFamily {
  kUnknown,   // none of ours: the X root window is all we can do
  kGnome,     // GNOME, Unity, Budgie, Pantheon, ...: org.gnome.desktop.background
  kCinnamon,  // org.cinnamon.desktop.background
  kMate,      // org.mate.background
};

// Reads XDG_CURRENT_DESKTOP, a colon-separated list such as "ubuntu:GNOME" or "Budgie:GNOME";
// the first name we know decides, letter case aside.
DesktopFamily DesktopFamilyOf(std::string_view xdg_current_desktop);

}  // namespace vellumo
