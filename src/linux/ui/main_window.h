#pragma once

#include <QWidget>
#include <functional>

namespace vellumo {

// The settings window's top-level widget. Its close box and Esc are reported to the logic, which
// stores the settings and then closes the window through CloseNow; the close is never refused.
class MainWindow : public QWidget {
  Q_OBJECT

 public:
  explicit MainWindow(std::function<void()> on_cancel);

  // Closes without reporting; the widget stays, hidden, until its owner deletes it.
  void CloseNow();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  std::function<void()> on_cancel_;
  bool closing_ = false;
};

}  // namespace vellumo
