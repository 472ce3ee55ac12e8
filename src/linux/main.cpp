// The Linux entry point: "vellumo" opens the settings window, "vellumo -next" changes the
// wallpaper once and ends, with the change notice on screen when there is a display;
// "vellumo --version" prints the version.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "autostart_entry.h"
#include "change_notice.h"
#include "codecs/picture_converter.h"
#include "desktop/linux_desktop.h"
#include "display_probe.h"
#include "file_system_linux.h"
#include "headless_views.h"
#include "ini_settings_store.h"
#include "linux_paths.h"
#include "partial_files.h"
#include "qt_event_loop.h"
#include "qt_views.h"
#include "run_lock.h"
#include "startup/main.h"
#include "startup/run_mode.h"

namespace {

using namespace vellumo;

// The whole argument text, as a command line would carry it after the program's path.
std::string ArgumentText(int argc, char** argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text += ' ';
    text += argv[i];
  }
  return text;
}

int ExitStatus(const ChangeResult& result) {
  int status = 0;
  if (result.outcome != ChangeOutcome::kApplied) {
    const std::string reason =
        result.detail.empty() ? "the wallpaper was not changed" : result.detail;
    std::fprintf(stderr, "vellumo: %s\n", reason.c_str());
    status = 1;
  }
  // Otherwise the next run would pick the same picture again, and the rotation silently stops.
  if (result.last_file_not_stored) {
    std::fprintf(stderr, "vellumo: the last picture could not be stored in %s\n",
                 SettingsFilePath().c_str());
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

// Starts Qt on a window system that can be reached; nothing when none can. Qt itself would end
// the process without one, and a change at login must not depend on the display being up yet.
// Without the desktop's look Qt loads no desktop theme plugin (GTK's or Plasma's), which would
// cost every login some 13 MiB and tens of milliseconds for a notice drawn in its own fonts.
std::unique_ptr<QApplication> StartQt(int& argc, char** argv, bool desktop_look) {
  const char* configured = std::getenv("QT_QPA_PLATFORM");
  const std::string before = configured ? configured : "";
  const DisplayProbe probe = ProbeDisplays();  // held until Qt has its own connection
  const std::string platforms = QtPlatforms(before, probe.access);
  if (platforms.empty()) return nullptr;
  setenv("QT_QPA_PLATFORM", platforms.c_str(), 1);
  QGuiApplication::setDesktopSettingsAware(desktop_look);
  // Wayland desktops find the window's icon and name through its desktop file.
  QGuiApplication::setDesktopFileName(QStringLiteral(VELLUMO_APP_ID));
  auto application = std::make_unique<QApplication>(argc, argv);
  // The choice is this process's: the desktop tools it runs choose their own.
  if (configured) {
    setenv("QT_QPA_PLATFORM", before.c_str(), 1);
  } else {
    unsetenv("QT_QPA_PLATFORM");
  }
  return application;
}

// The windows of a background run: the real change notice, and a settings window that is
// never shown, so it is never built either (its toolbar, list and pictures would only cost
// the login time and memory).
class BackgroundViews : public Views {
 public:
  std::unique_ptr<ChangeScreenView> CreateChangeScreen(ChangeScreenEvents& events) override {
    return CreateChangeNotice(events);
  }
  std::unique_ptr<MainView> CreateMain(MainEvents& events) override {
    return unseen_.CreateMain(events);
  }

 private:
  HeadlessLoop unseen_;
};

// The system services of one run, but for its loop and windows.
struct LinuxSystem {
  IniSettingsStore settings{SettingsFilePath()};
  LinuxFileSystem files;
  LinuxPictureConverter pictures;
  LinuxDesktop desktop = LinuxDesktop::FromEnvironment();
  AutostartRunAtLogon startup;

  Platform With(EventLoop& loop, Views& views) {
    return Platform{settings, files,   pictures,          desktop,       loop,
                    views,    startup, WallpaperFolder(), BitmapPlace(), FallbackBitmapPath()};
  }

  // Beside the program, unless the desktop cannot be handed a path there: then the fallback.
  std::string BitmapPlace() const {
    std::string place = BitmapPath();
    return desktop.CanShow(place) ? place : std::string();
  }
};

int RunSettingsWindow(int argc, char** argv) {
  const auto application = StartQt(argc, argv, true);
  if (!application) {
    std::fprintf(stderr,
                 "vellumo: no display to show the settings window on; "
                 "\"vellumo -next\" changes the wallpaper without one\n");
    return 2;
  }
  LinuxSystem system;
  QtEventLoop loop;
  QtViews views;
  Platform platform = system.With(loop, views);
  RunInteractive(platform);
  return 0;
}

int RunChange(int argc, char** argv) {
  // One change at a time: runs started together would otherwise interleave their settings.
  const auto timeout = RunLockTimeout();
  const RunLock lock(RunLockPath(), timeout);
  if (lock.state() == RunLock::State::kBusy) return GaveUpWaiting(timeout);

  LinuxSystem system;
  // Holding the lock, no other run is writing: any partial bitmap is a killed run's.
  if (lock.state() == RunLock::State::kHeld) {
    RemoveStalePartials(BitmapPath());
    RemoveStalePartials(FallbackBitmapPath());
  }
  const auto application = StartQt(argc, argv, false);
  if (!application) {
    // No display at all (a console, a session still starting): the change goes on unseen.
    HeadlessLoop loop;
    Platform platform = system.With(loop, loop);
    return ExitStatus(RunBackground(platform));
  }
  QtEventLoop loop;
  BackgroundViews views;
  Platform platform = system.With(loop, views);
  return ExitStatus(RunBackground(platform));
}

}  // namespace

int main(int argc, char** argv) {
  // The package's version; the windows keep showing their own fixed text.
  if (ArgumentText(argc, argv) == "--version") {
    std::printf("vellumo %s\n", VELLUMO_VERSION);
    return 0;
  }
  if (IsBackgroundSwitch(ArgumentText(argc, argv))) return RunChange(argc, argv);
  return RunSettingsWindow(argc, argv);
}
