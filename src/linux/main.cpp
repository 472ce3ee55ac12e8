// The Linux entry point: "vellumo" opens the settings window, "vellumo -next" changes the
// wallpaper once and ends, with the change notice on screen when there is a display;
// "vellumo --version" prints the version and "vellumo --help" the usage.
#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "autostart_entry.h"
#include "change_notice.h"
#include "codecs/picture_converter.h"
#include "command_line.h"
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
#include "systemd_schedule.h"

namespace {

using namespace vellumo;

// The run's messages go to standard error, one "vellumo: " line each.
class StderrReport : public RunReport {
 public:
  void Say(const std::string& line) override {
    std::fprintf(stderr, "vellumo: %s\n", line.c_str());
  }
};

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
  SystemdScheduledChange schedule;
  StderrReport report;

  Platform With(EventLoop& loop, Views& views) {
    return Platform{
        settings, files,    pictures, desktop,           loop,          views,
        startup,  schedule, report,   WallpaperFolder(), BitmapPlace(), FallbackBitmapPath()};
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
    return ExitCode(RunBackground(platform));
  }
  QtEventLoop loop;
  BackgroundViews views;
  Platform platform = system.With(loop, views);
  return ExitCode(RunBackground(platform));
}

}  // namespace

int main(int argc, char** argv) {
  switch (ParseCommandLine({argv + std::min(argc, 1), argv + argc})) {
    case Command::kSettingsWindow:
      return RunSettingsWindow(argc, argv);
    case Command::kChange:
      return RunChange(argc, argv);
    case Command::kHelp:
      std::fputs(kUsage, stdout);
      return 0;
    case Command::kVersion:
      // The package's version; the windows keep showing their own fixed text.
      std::printf("vellumo %s\n", VELLUMO_VERSION);
      return 0;
    case Command::kUsageError:
      break;
  }
  std::fputs(kUsage, stderr);
  return 2;
}
