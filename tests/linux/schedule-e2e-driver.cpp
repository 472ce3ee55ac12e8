// Not a test on its own: schedule-e2e-test.sh runs it under a real systemd user manager. It opens
// the settings window on the display with the real system behind it, as "vellumo" does but
// registering the program given, then does what a user would on the Startup button and closes
// the window with Esc.
//
//   schedule-e2e-driver PROGRAM choose N   the arrow, then entry N of the menu
//   schedule-e2e-driver PROGRAM release    a click on the button's face
//
// Exit status 0 when the button shows what the action should leave it showing.
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "autostart_entry.h"
#include "codecs/picture_converter.h"
#include "desktop/linux_desktop.h"
#include "file_system_linux.h"
#include "ini_settings_store.h"
#include "linux_paths.h"
#include "main_toolbar.h"
#include "qt_event_loop.h"
#include "qt_views.h"
#include "startup/main.h"
#include "systemd_schedule.h"
#include "ui/main_window_fixture.h"

namespace {

using namespace vellumo;

class Report : public RunReport {
 public:
  void Say(const std::string& line) override { std::fprintf(stderr, "%s\n", line.c_str()); }
};

// Acts on the window once it is shown; `done` tells whether Startup then shows what it should.
void Act(const std::string& action, int entry, bool& done) {
  QWidget* window = QApplication::activeWindow();
  for (QWidget* top : QApplication::topLevelWidgets())
    if (!window && top->findChild<MainToolbar*>()) window = top;
  auto* toolbar = window ? window->findChild<MainToolbar*>() : nullptr;
  if (!toolbar) {
    std::fprintf(stderr, "no settings window\n");
    QApplication::exit(1);
    return;
  }
  QToolButton* startup = toolbar->Button(toolbar::kStartup);
  if (action == "choose") {
    WhenOpen([entry](QWidget& menu) {
      for (int i = 0; i < entry; ++i) QTest::keyClick(&menu, Qt::Key_Down);
      QTest::keyClick(&menu, Qt::Key_Return);
    });
    QTest::mouseClick(startup, Qt::LeftButton, {},
                      QPoint(startup->width() - 3, startup->height() / 2));
  } else {
    QTest::mouseClick(startup, Qt::LeftButton, {}, QPoint(4, startup->height() / 2));
  }
  done = startup->isChecked() == (action == "choose");
  QTest::keyClick(window, Qt::Key_Escape);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string usage = "usage: schedule-e2e-driver PROGRAM choose N | release\n";
  if (argc < 3 || (std::string(argv[2]) == "choose" && argc < 4)) {
    std::fputs(usage.c_str(), stderr);
    return 2;
  }
  QApplication application(argc, argv);
  const std::string program = argv[1];
  const std::string action = argv[2];
  const int entry = argc > 3 ? std::atoi(argv[3]) : 0;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");

  IniSettingsStore settings{SettingsFilePath()};
  LinuxFileSystem files;
  LinuxPictureConverter pictures;
  LinuxDesktop desktop = LinuxDesktop::FromEnvironment();
  AutostartRunAtLogon startup(ConfigHome() + "/autostart/vellumo.desktop", program);
  SystemdScheduledChange schedule(ConfigHome() + "/systemd/user", program, runtime ? runtime : "");
  Report report;
  QtEventLoop loop;
  QtViews views;
  Platform platform{settings, files,    pictures, desktop,           loop,         views,
                    startup,  schedule, report,   WallpaperFolder(), BitmapPath(), ""};
  bool done = false;
  QTimer::singleShot(200, [&] { Act(action, entry, done); });
  RunInteractive(platform);
  return done ? 0 : 1;
}
