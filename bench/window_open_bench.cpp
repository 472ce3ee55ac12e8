// Opens the settings window as "vellumo" without a switch does (the settings of
// $XDG_CONFIG_HOME, the list built with its progress on the change notice, then the window) and
// closes it as soon as it has painted once. Prints the wall-clock times of the end of
// QApplication's start, of the window's show (the list built and filled) and of its first paint,
// in microseconds since the epoch, so that a script can count from before the process started:
// bench/window-open-vs-build.sh.
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <chrono>
#include <cstdio>

#include "autostart_entry.h"
#include "codecs/picture_converter.h"
#include "desktop/linux_desktop.h"
#include "file_system_linux.h"
#include "ini_settings_store.h"
#include "linux_paths.h"
#include "qt_event_loop.h"
#include "qt_main_view.h"
#include "qt_views.h"
#include "startup/main.h"

namespace {

using namespace vellumo;

long long NowMicros() {
  using namespace std::chrono;
  return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

// Notes when the window is first shown and first painted, then closes it the way its close box
// does.
class FirstPaint : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && shown_at_ == 0) shown_at_ = NowMicros();
    if (event->type() == QEvent::Paint && painted_at_ == 0) {
      painted_at_ = NowMicros();
      auto* window = static_cast<QWidget*>(watched);
      QTimer::singleShot(0, window, [window] { window->close(); });
    }
    return false;
  }
  long long shown_at() const { return shown_at_; }
  long long painted_at() const { return painted_at_; }

 private:
  long long shown_at_ = 0;
  long long painted_at_ = 0;
};

// The program's windows, with the settings window watched.
class WatchedViews : public QtViews {
 public:
  explicit WatchedViews(FirstPaint& watcher) : watcher_(watcher) {}
  std::unique_ptr<MainView> CreateMain(MainEvents& events) override {
    auto view = QtViews::CreateMain(events);
    static_cast<QtMainView&>(*view).window()->installEventFilter(&watcher_);
    return view;
  }

 private:
  FirstPaint& watcher_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const long long qt_started_at = NowMicros();
  IniSettingsStore settings{SettingsFilePath()};
  LinuxFileSystem files;
  LinuxPictureConverter pictures;
  LinuxDesktop desktop = LinuxDesktop::FromEnvironment();
  AutostartRunAtLogon startup;
  NoScheduledChange schedule;
  QtEventLoop loop;
  FirstPaint watcher;
  WatchedViews views(watcher);
  NoRunReport report;
  Platform platform{
      settings, files,    pictures, desktop,           loop,         views,
      startup,  schedule, report,   WallpaperFolder(), BitmapPath(), FallbackBitmapPath()};
  RunInteractive(platform);
  if (watcher.painted_at() == 0) {
    std::fprintf(stderr, "the settings window was never painted\n");
    return 1;
  }
  std::printf("qt_started_us %lld\nshown_us %lld\nfirst_paint_us %lld\n", qt_started_at,
              watcher.shown_at(), watcher.painted_at());
  return 0;
}
