#include "qt_event_loop.h"

#include <QApplication>
#include <QEventLoop>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vellumo {
namespace {

// A window of the program's own. Menus and tool tips come and go with the windows they
// belong to, and keep nothing open.
bool AnyWindowLeft() {
  const auto windows = QApplication::topLevelWidgets();
  for (const QWidget* window : windows) {
    const Qt::WindowType type = window->windowType();
    if (window->parentWidget() == nullptr && type != Qt::Popup && type != Qt::ToolTip) return true;
  }
  return false;
}

// Deletes the windows let go by deleteLater, which Qt otherwise leaves to an exec() loop. Only
// where no window's event is under way.
void DeleteReleased() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

// Deleted windows are left to Run: a yield may come from inside the very window that let go of
// itself.
void QtEventLoop::Yield() {
  QCoreApplication::processEvents();
}

void QtEventLoop::Wait(std::chrono::milliseconds time) {
  QEventLoop wait;
  QTimer::singleShot(time, Qt::PreciseTimer, &wait, &QEventLoop::quit);
  wait.exec();
}

void QtEventLoop::Run() {
  for (;;) {
    DeleteReleased();
    if (!AnyWindowLeft()) return;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
}

void QtEventLoop::EndNow(int exit_code) {
  // At once: no destructor, no atexit handler, nothing of the run goes on.
  std::fflush(nullptr);
  std::_Exit(exit_code);
}

int QtEventLoop::ScreenDpi() {
  return QtScreenDpi();
}

int QtScreenDpi() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int dpi = screen ? static_cast<int>(std::lround(screen->logicalDotsPerInchX())) : 0;
  return dpi > 0 ? dpi : 96;
}

}  // namespace vellumo
