#include "linux_desktop.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

#include "desktop_family.h"
#include "gsettings_wallpaper.h"
#include "x_root_window.h"

namespace vellumo {
namespace {

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// Desktops are handed a file, not its pixels: an absolute path, checked here, so a missing
// bitmap is reported rather than set as a wallpaper that cannot show.
bool AbsoluteBitmapPath(const std::string& bitmap, std::string& absolute, std::string& failure) {
  std::error_code error;
  std::filesystem::path path = std::filesystem::absolute(bitmap, error);
  if (bitmap.empty() || error || !std::filesystem::is_regular_file(path, error) ||
      access(path.c_str(), R_OK) != 0) {
    failure = "cannot read the bitmap \"" + bitmap + "\"";
    return false;
  }
  absolute = path.lexically_normal().string();
  return true;
}

std::string NoDesktop(const DesktopEnvironment& environment) {
  std::string text = "no desktop to set the wallpaper on: XDG_CURRENT_DESKTOP ";
  if (environment.xdg_current_desktop.empty()) {
    text += "is not set";
  } else {
    text += "\"" + environment.xdg_current_desktop + "\" is not a desktop we can configure";
  }
  return text + " and DISPLAY is not set";
}

}  // namespace

LinuxDesktop::LinuxDesktop(DesktopEnvironment environment) : environment_(std::move(environment)) {}

LinuxDesktop LinuxDesktop::FromEnvironment() {
  return LinuxDesktop({Variable("XDG_CURRENT_DESKTOP"), Variable("DISPLAY")});
}

bool LinuxDesktop::SetWallpaper(const std::string& bitmap, Layout layout, std::string* failure) {
  std::string text;
  if (Set(bitmap, layout, text)) return true;
  if (failure) *failure = text;
  return false;
}

bool LinuxDesktop::Set(const std::string& bitmap, Layout layout, std::string& failure) const {
  std::string absolute;
  if (!AbsoluteBitmapPath(bitmap, absolute, failure)) return false;
  bool has_display = !environment_.display.empty();
  DesktopFamily family = DesktopFamilyOf(environment_.xdg_current_desktop);
  std::string settings_failure;
  if (family != DesktopFamily::kUnknown) {
    if (SetWallpaperWithGsettings(family, absolute, layout, settings_failure)) return true;
    if (!has_display) {
      failure = settings_failure + " and DISPLAY is not set";
      return false;
    }
  }
  if (!has_display) {
    failure = NoDesktop(environment_);
    return false;
  }
  std::string x_failure;
  if (SetRootWindowPicture(environment_.display, absolute, layout, x_failure)) return true;
  failure = settings_failure.empty() ? x_failure : settings_failure + "; " + x_failure;
  return false;
}

}  // namespace vellumo
