#include "main_window.h"

#include <QCloseEvent>
#include <QShortcut>

namespace vellumo {

MainWindow::MainWindow(std::function<void()> on_cancel) : on_cancel_(std::move(on_cancel)) {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  // The hidden "Cancel": Esc anywhere in the window.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, [this] { on_cancel_(); });
}

void MainWindow::CloseNow() {
  closing_ = true;
  close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!closing_) on_cancel_();
  event->accept();
}

}  // namespace vellumo
