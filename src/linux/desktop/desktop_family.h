#pragma once

namespace vellumo {

// The desktops whose wallpaper lives in a GSettings schema, by the schema they read.
enum class DesktopFamily {
  kGnome,     // GNOME, Unity, Budgie, Pantheon, ...: org.gnome.desktop.background
  kCinnamon,  // org.cinnamon.desktop.background
  kMate,      // org.mate.background
};

}  // namespace vellumo
