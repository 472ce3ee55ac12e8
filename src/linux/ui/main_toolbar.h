#pragma once

#include <QIcon>
#include <QToolBar>
#include <array>

#include "ui/main_view.h"
#include "ui/toolbar.h"

class QMenu;
class QToolButton;

namespace vellumo {

// The settings window's toolbar: text under the pictures, check buttons, and the "Source" and
// "Startup" buttons whose arrows open their menus. Clicks and menu choices go straight to
// `events`.
class MainToolbar : public QToolBar {
  Q_OBJECT

 public:
  // `width` is the room the buttons must fit in.
  MainToolbar(QWidget* parent, MainEvents& events, int icon_size, int width);

  // By the button's index (1 to 10); null for a separator.
  QAction* Action(int index) const;
  QToolButton* Button(int index) const;
  QMenu* SourceMenu() const { return source_menu_; }
  QMenu* StartupMenu() const { return startup_menu_; }

  // Without running the button's command.
  void SetPressed(int index, bool pressed);
  // 1 to 3: the single file, the single folder, the sub-folders.
  void SetSourceImage(int image);
  // The checked entry, and the intervals' availability with its reason as their tool tip.
  void SetStartupMenu(const StartupMenuState& state);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AddButton(const ToolbarButton& spec);
  void ReportToggles(int index, QToolButton* button, QAction* action);
  void MakeSourceMenu();
  void MakeStartupMenu();
  // Its arrow opens the menu at once; the face runs the button's own command.
  void OpenMenuOnArrow(int index, QMenu* menu);
  void FitFont(int width);
  void FocusNeighbour(QObject* from, int step);

  MainEvents& events_;
  std::array<QAction*, kToolbarButtons.size()> actions_{};
  std::array<QIcon, kToolbarImages> images_;
  QMenu* source_menu_ = nullptr;
  QMenu* startup_menu_ = nullptr;
  bool setting_ = false;  // a state set by the logic, not the user
};

}  // namespace vellumo
