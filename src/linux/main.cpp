// The Linux entry point: "vellumo -next" changes the wallpaper once and ends.
#include <cstdio>
#include <string>

#include "codecs/picture_converter.h"
#include "desktop/linux_desktop.h"
#include "file_system_linux.h"
#include "headless_views.h"
#include "ini_settings_store.h"
#include "linux_paths.h"
#include "startup/main.h"
#include "startup/run_mode.h"

namespace {

// The whole argument text, as a command line would carry it after the program's path.
std::string ArgumentText(int argc, char** argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text += ' ';
    text += argv[i];
  }
  return text;
}

int ExitStatus(const vellumo::ChangeResult& result) {
  if (result.outcome == vellumo::ChangeOutcome::kApplied) return 0;
  const std::string reason =
      result.detail.empty() ? "the wallpaper was not changed" : result.detail;
  std::fprintf(stderr, "vellumo: %s\n", reason.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vellumo;
  if (!IsBackgroundSwitch(ArgumentText(argc, argv))) {
    std::fprintf(stderr,
                 "vellumo: the settings window is not available on Linux yet; "
                 "\"vellumo -next\" changes the wallpaper\n");
    return 2;
  }

  IniSettingsStore settings(SettingsFilePath());
  LinuxFileSystem files;
  LinuxPictureConverter pictures;
  LinuxDesktop desktop = LinuxDesktop::FromEnvironment();
  HeadlessLoop loop;
  NoRunAtLogon startup;
  Platform platform{settings, files, pictures, desktop, loop, loop, startup, WallpaperFolder(),
                    BitmapPath()};
  return ExitStatus(RunBackground(platform));
}
