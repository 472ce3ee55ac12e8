#include "desktop_chooser.h"

#include <array>
#include <string_view>
#include <utility>

#include "platform/text.h"

namespace vellumo {
namespace {

// The names desktops give themselves in XDG_CURRENT_DESKTOP and DESKTOP_SESSION, lower case.
constexpr std::array<std::pair<std::string_view, DesktopKind>, 30> kNames = {{
    {"gnome", DesktopKind::kGnome},
    {"gnome-classic", DesktopKind::kGnome},
    {"gnome-flashback", DesktopKind::kGnome},
    {"gnome-xorg", DesktopKind::kGnome},
    {"ubuntu", DesktopKind::kGnome},
    {"ubuntu-xorg", DesktopKind::kGnome},
    {"unity", DesktopKind::kGnome},
    {"budgie", DesktopKind::kGnome},
    {"budgie-desktop", DesktopKind::kGnome},
    {"pantheon", DesktopKind::kGnome},
    {"cinnamon", DesktopKind::kCinnamon},
    {"x-cinnamon", DesktopKind::kCinnamon},
    {"mate", DesktopKind::kMate},
    {"kde", DesktopKind::kKde},
    {"plasma", DesktopKind::kKde},
    {"plasmawayland", DesktopKind::kKde},
    {"plasmax11", DesktopKind::kKde},
    {"xfce", DesktopKind::kXfce},
    {"xfce4", DesktopKind::kXfce},
    {"xubuntu", DesktopKind::kXfce},
    {"lxqt", DesktopKind::kLxqt},
    {"lxde", DesktopKind::kLxde},
    {"lubuntu", DesktopKind::kLxde},
    {"sway", DesktopKind::kSway},
    {"wlroots", DesktopKind::kSway},
    {"hyprland", DesktopKind::kHyprland},
    {"deepin", DesktopKind::kDeepin},
    {"dde", DesktopKind::kDeepin},
    {"deepin-wayland", DesktopKind::kDeepin},
    {"x-deepin", DesktopKind::kDeepin},
}};

DesktopKind KindOfName(std::string_view name) {
  const std::string lower = AsciiLower(TrimBlanks(name));
  for (const auto& [known, kind] : kNames) {
    if (lower == known) return kind;
  }
  return DesktopKind::kNone;
}

// The first name we know in a colon-separated list.
DesktopKind KindOfList(std::string_view list) {
  while (!list.empty()) {
    const size_t colon = list.find(':');
    const DesktopKind kind = KindOfName(list.substr(0, colon));
    if (kind != DesktopKind::kNone) return kind;
    if (colon == std::string_view::npos) break;
    list.remove_prefix(colon + 1);
  }
  return DesktopKind::kNone;
}

// DESKTOP_SESSION may be a path to the session file ("/usr/share/xsessions/plasma").
DesktopKind KindOfSession(std::string_view session) {
  const size_t slash = session.rfind('/');
  if (slash != std::string_view::npos) session.remove_prefix(slash + 1);
  return KindOfName(session);
}

DesktopChoice Because(DesktopKind kind, const char* variable, const std::string& value) {
  return {kind, std::string(variable) + "=" + value};
}

// Why XDG_CURRENT_DESKTOP did not decide.
std::string UnknownDesktop(const std::string& xdg_current_desktop) {
  if (xdg_current_desktop.empty()) return "XDG_CURRENT_DESKTOP is not set";
  return "XDG_CURRENT_DESKTOP \"" + xdg_current_desktop + "\" is not a desktop we know";
}

}  // namespace

const char* DesktopName(DesktopKind kind) {
  switch (kind) {
    case DesktopKind::kGnome:
      return "GNOME";
    case DesktopKind::kCinnamon:
      return "Cinnamon";
    case DesktopKind::kMate:
      return "MATE";
    case DesktopKind::kKde:
      return "KDE Plasma";
    case DesktopKind::kXfce:
      return "XFCE";
    case DesktopKind::kLxqt:
      return "LXQt";
    case DesktopKind::kLxde:
      return "LXDE";
    case DesktopKind::kSway:
      return "Sway";
    case DesktopKind::kHyprland:
      return "Hyprland";
    case DesktopKind::kDeepin:
      return "Deepin";
    case DesktopKind::kXRoot:
      return "the X root window";
    case DesktopKind::kNone:
      break;
  }
  return "no desktop";
}

DesktopChoice ChooseDesktop(const DesktopEnvironment& environment) {
  const DesktopEnvironment& e = environment;
  if (DesktopKind kind = KindOfList(e.xdg_current_desktop); kind != DesktopKind::kNone) {
    return Because(kind, "XDG_CURRENT_DESKTOP", e.xdg_current_desktop);
  }
  if (DesktopKind kind = KindOfSession(e.desktop_session); kind != DesktopKind::kNone) {
    return Because(kind, "DESKTOP_SESSION", e.desktop_session);
  }
  if (!e.swaysock.empty()) return Because(DesktopKind::kSway, "SWAYSOCK", e.swaysock);
  if (!e.hyprland_instance_signature.empty()) {
    return Because(DesktopKind::kHyprland, "HYPRLAND_INSTANCE_SIGNATURE",
                   e.hyprland_instance_signature);
  }
  // Under Wayland the X root window, if any, is Xwayland's and nobody sees it.
  if (!e.wayland_display.empty()) {
    return {DesktopKind::kNone, UnknownDesktop(e.xdg_current_desktop) +
                                    " and in a Wayland session the X root window does not show"};
  }
  if (!e.display.empty()) return Because(DesktopKind::kXRoot, "DISPLAY", e.display);
  return {DesktopKind::kNone, UnknownDesktop(e.xdg_current_desktop) + " and DISPLAY is not set"};
}

}  // namespace vellumo
