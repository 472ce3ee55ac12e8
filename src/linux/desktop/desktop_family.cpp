#include "desktop_family.h"

#include <array>
#include <string>
#include <utility>

#include "platform/text.h"

namespace vellumo {
namespace {

DesktopFamily FamilyOfName(std::string_view name) {
  static constexpr std::array<std::pair<std::string_view, DesktopFamily>, 11> kNames = {{
      {"gnome", DesktopFamily::kGnome},
      {"gnome-classic", DesktopFamily::kGnome},
      {"gnome-flashback", DesktopFamily::kGnome},
      {"unity", DesktopFamily::kGnome},
      {"budgie", DesktopFamily::kGnome},
      {"budgie-desktop", DesktopFamily::kGnome},
      {"pantheon", DesktopFamily::kGnome},
      {"ubuntu", DesktopFamily::kGnome},
      {"cinnamon", DesktopFamily::kCinnamon},
      {"x-cinnamon", DesktopFamily::kCinnamon},
      {"mate", DesktopFamily::kMate},
  }};
  std::string lower = AsciiLower(name);
  for (const auto& [known, family] : kNames) {
    if (lower == known) return family;
  }
  return DesktopFamily::kUnknown;
}

}  // namespace

DesktopFamily DesktopFamilyOf(std::string_view xdg_current_desktop) {
  std::string_view rest = xdg_current_desktop;
  while (!rest.empty()) {
    size_t colon = rest.find(':');
    DesktopFamily family = FamilyOfName(rest.substr(0, colon));
    if (family != DesktopFamily::kUnknown) return family;
    if (colon == std::string_view::npos) break;
    rest.remove_prefix(colon + 1);
  }
  return DesktopFamily::kUnknown;
}

}  // namespace vellumo
