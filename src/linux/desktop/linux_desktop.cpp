#include "linux_desktop.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

#include "deepin_wallpaper.h"
#include "gsettings_wallpaper.h"
#include "hyprland_wallpaper.h"
#include "kde_wallpaper.h"
#include "pcmanfm_wallpaper.h"
#include "sway_wallpaper.h"
#include "xfce_wallpaper.h"

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

std::string Seconds(std::chrono::milliseconds time) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(time.count()) / 1000);
  return text;
}

}  // namespace

LinuxDesktop::LinuxDesktop(DesktopEnvironment environment, LinuxDesktopOptions options)
    : environment_(std::move(environment)), options_(std::move(options)) {}

LinuxDesktop LinuxDesktop::FromEnvironment() {
  return LinuxDesktop({Variable("XDG_CURRENT_DESKTOP"), Variable("DESKTOP_SESSION"),
                       Variable("SWAYSOCK"), Variable("HYPRLAND_INSTANCE_SIGNATURE"),
                       Variable("WAYLAND_DISPLAY"), Variable("DISPLAY")});
}

bool LinuxDesktop::SetWallpaper(const std::string& bitmap, Layout layout, std::string* failure) {
  std::string text;
  if (Set(bitmap, layout, text)) return true;
  if (failure) *failure = text;
  return false;
}

bool LinuxDesktop::CanShow(const std::string& path) const {
  const std::unique_ptr<WallpaperBackend> backend = MakeBackend(ChooseDesktop(environment_).kind);
  return !backend || backend->CanShow(path);
}

std::unique_ptr<WallpaperBackend> LinuxDesktop::MakeBackend(DesktopKind kind) const {
  const auto limit = options_.step_limit;
  switch (kind) {
    case DesktopKind::kGnome:
      return std::make_unique<GsettingsWallpaper>(DesktopFamily::kGnome, limit);
    case DesktopKind::kCinnamon:
      return std::make_unique<GsettingsWallpaper>(DesktopFamily::kCinnamon, limit);
    case DesktopKind::kMate:
      return std::make_unique<GsettingsWallpaper>(DesktopFamily::kMate, limit);
    case DesktopKind::kKde:
      return std::make_unique<KdeWallpaper>(options_.bus_address, limit);
    case DesktopKind::kXfce:
      return std::make_unique<XfceWallpaper>(limit);
    case DesktopKind::kLxqt:
      return std::make_unique<PcmanfmWallpaper>("pcmanfm-qt", limit);
    case DesktopKind::kLxde:
      return std::make_unique<PcmanfmWallpaper>("pcmanfm", limit);
    case DesktopKind::kSway:
      return std::make_unique<SwayWallpaper>(environment_.swaysock, limit);
    case DesktopKind::kHyprland:
      return std::make_unique<HyprlandWallpaper>(limit);
    case DesktopKind::kDeepin:
      return std::make_unique<DeepinWallpaper>(options_.bus_address, limit);
    case DesktopKind::kXRoot:
      return std::make_unique<XRootWallpaper>(environment_.display, options_.x_limit);
    case DesktopKind::kNone:
      break;
  }
  return nullptr;
}

void LinuxDesktop::Report(const std::string& line) const {
  if (options_.report) {
    options_.report(line);
  } else {
    std::fprintf(stderr, "vellumo: %s\n", line.c_str());
  }
}

bool LinuxDesktop::Set(const std::string& bitmap, Layout layout, std::string& failure) const {
  std::string absolute;
  if (!AbsoluteBitmapPath(bitmap, absolute, failure)) return false;
  const DesktopChoice choice = ChooseDesktop(environment_);
  std::unique_ptr<WallpaperBackend> backend = MakeBackend(choice.kind);
  if (!backend) {
    failure = "no desktop to set the wallpaper on: " + choice.reason;
    return false;
  }
  const std::string name = DesktopName(choice.kind);
  Report("desktop: " + name + " (" + choice.reason + ")");
  bool told = false;
  auto on_retry = [&](const std::string& why) {
    if (told) return;  // one line is enough: the final failure says the rest
    told = true;
    Report(name + " is not ready (" + why + "); trying again for up to " +
           Seconds(options_.retry.total) + " s");
  };
  const BackendResult result =
      SetWithRetry([&] { return backend->Set(absolute, layout); }, options_.retry, on_retry);
  if (result.ok()) return true;
  // The root window's messages name their display already.
  failure = choice.kind == DesktopKind::kXRoot ? result.failure : name + ": " + result.failure;
  return false;
}

}  // namespace vellumo
