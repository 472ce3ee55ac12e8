#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "qt_main_view.h"
#include "recorded_events.h"

namespace vellumo {

// Runs `act` on the modal window or popup that opens next, from the loop that shows it; the
// window is closed after 5 s in any case, so a broken test fails instead of hanging.
inline void WhenOpen(std::function<void(QWidget&)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    QWidget* open = QApplication::activePopupWidget();
    if (!open) open = QApplication::activeModalWidget();
    if (!open) return;
    QTimer::singleShot(5000, open, &QWidget::close);
    act(*open);
  });
}

}  // namespace vellumo
