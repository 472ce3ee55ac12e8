#pragma once

#include <string>

namespace vellumo {

// What tells the running desktop apart, as read from the environment.
struct DesktopEnvironment {
  std::string xdg_current_desktop;          // XDG_CURRENT_DESKTOP, e.g. "ubuntu:GNOME"
  std::string desktop_session;              // DESKTOP_SESSION, e.g. "plasma", "xfce"
  std::string swaysock;                     // SWAYSOCK
  std::string hyprland_instance_signature;  // HYPRLAND_INSTANCE_SIGNATURE
  std::string wayland_display;              // WAYLAND_DISPLAY
  std::string display;                      // DISPLAY, e.g. ":0"
};

enum class DesktopKind {
  kNone,  // nothing we can set a wallpaper on
  kGnome,
  kCinnamon,
  kMate,
  kKde,
  kXfce,
  kLxqt,
  kLxde,
  kSway,
  kHyprland,
  kDeepin,
  kXRoot,  // an X11 session without a desktop we know: the root window
};

struct DesktopChoice {
  DesktopKind kind = DesktopKind::kNone;
  std::string reason;  // the variable that decided, e.g. "XDG_CURRENT_DESKTOP=ubuntu:GNOME"
};

// The desktop's name for messages: "KDE Plasma", "XFCE", "the X root window", ...
const char* DesktopName(DesktopKind kind);

// XDG_CURRENT_DESKTOP decides first (its colon-separated names in order, letter case aside),
// then DESKTOP_SESSION, then the compositors' sockets, and last the display: a Wayland session
// we do not know has nothing we can set, a plain X11 session has its root window.
DesktopChoice ChooseDesktop(const DesktopEnvironment& environment);

}  // namespace vellumo
