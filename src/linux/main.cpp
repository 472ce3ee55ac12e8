// The Linux entry point: "vellumo -next" changes the wallpaper once and ends.
#include <cstdio>
#include <string>

#include "codecs/picture_converter.h"
#include "desktop/linux_desktop.h"
#include "file_system_linux.h"
#include "headless_views.h"
#include "ini_settings_store.h"
#include "linux_paths.h"
#include "partial_files.h"
#include "run_lock.h"
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
  int status = 0;
  if (result.outcome != vellumo::ChangeOutcome::kApplied) {
    const std::string reason =
        result.detail.empty() ? "the wallpaper was not changed" : result.detail;
    std::fprintf(stderr, "vellumo: %s\n", reason.c_str());
    status = 1;
  }
  // Otherwise the next run would pick the same picture again, and the rotation silently stops.
  if (result.last_file_not_stored) {
    std::fprintf(stderr, "vellumo: the last picture could not be stored in %s\n",
                 vellumo::SettingsFilePath().c_str());
    status = 1;
  }
  return status;
}

int GaveUpWaiting(std::chrono::milliseconds waited) {
  std::fprintf(stderr,
               "vellumo: another wallpaper change was still running after %g s; "
               "this run changed nothing\n",
               std::chrono::duration<double>(waited).count());
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
  // One change at a time: runs started together would otherwise interleave their settings.
  const auto timeout = RunLockTimeout();
  const RunLock lock(RunLockPath(), timeout);
  if (lock.state() == RunLock::State::kBusy) return GaveUpWaiting(timeout);

  IniSettingsStore settings(SettingsFilePath());
  LinuxFileSystem files;
  LinuxPictureConverter pictures;
  LinuxDesktop desktop = LinuxDesktop::FromEnvironment();
  HeadlessLoop loop;
  NoRunAtLogon startup;
  Platform platform{settings, files,   pictures,          desktop,      loop,
                    loop,     startup, WallpaperFolder(), BitmapPath(), FallbackBitmapPath()};
  // Holding the lock, no other run is writing: any partial bitmap is a killed run's.
  if (lock.state() == RunLock::State::kHeld) {
    RemoveStalePartials(platform.bitmap_path);
    RemoveStalePartials(platform.bitmap_fallback_path);
  }
  return ExitStatus(RunBackground(platform));
}
