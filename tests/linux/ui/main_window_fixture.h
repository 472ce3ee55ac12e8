#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "qt_main_view.h"

namespace vellumo {

// Writes down every event the window reports, one line each: "toolbar 4 pressed", "menu 2".
struct RecordedEvents : MainEvents {
  void OnToolbarClick(int index, bool pressed) override {
    Add("toolbar " + std::to_string(index) + (pressed ? " pressed" : ""));
  }
  void OnSourceMenu(int entry) override { Add("menu " + std::to_string(entry)); }
  void OnStartupMenu(int entry) override { Add("startup menu " + std::to_string(entry)); }
  void OnBrowse() override { Add("browse"); }
  void OnImageSelected(int row) override { Add("select " + std::to_string(row)); }
  void OnImageDoubleClicked(int row) override { Add("double " + std::to_string(row)); }
  std::string OnImageTip(int row) override {
    Add("tip " + std::to_string(row));
    return "/pictures/" + std::to_string(row);
  }
  std::string OnPreviewTip() override {
    Add("preview tip");
    return {};
  }
  void OnPreviewToggled(bool checked) override { Add(checked ? "preview on" : "preview off"); }
  void OnDisplayModeChosen(int row) override { Add("display " + std::to_string(row)); }
  void OnDisplaySettings() override { Add("settings"); }
  void OnNext() override { Add("next"); }
  void OnSave() override { Add("save"); }
  void OnCancel() override { Add("cancel"); }
  void Add(std::string line) { lines.push_back(std::move(line)); }

  std::vector<std::string> lines;
};

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
