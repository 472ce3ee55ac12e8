#include "main_toolbar.h"

#include <QActionGroup>
#include <QEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QToolButton>
#include <algorithm>
#include <vector>

#include "pictures.h"
#include "ui/layout.h"

namespace vellumo {
namespace {

// The pictures by their number on the toolbar's list; the first three are the source types.
constexpr std::array<const char*, kToolbarImages> kImageNames{
    "file", "folder", "subfolders", "random", "repeats", "fadeout", "makefile", "startup", "about"};

}  // namespace

MainToolbar::MainToolbar(QWidget* parent, MainEvents& events, int icon_size, int width)
    : QToolBar(parent), events_(events) {
  setAccessibleName(QStringLiteral("Toolbar"));
  setMovable(false);
  setFloatable(false);
  setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  setIconSize(QSize(icon_size, icon_size));
  for (size_t i = 0; i < images_.size(); ++i) images_[i] = ToolbarIcon(kImageNames[i]);
  setContentsMargins(0, 0, 0, 0);
  layout()->setContentsMargins(0, 0, 0, 0);
  layout()->setSpacing(0);
  for (const ToolbarButton& spec : kToolbarButtons) AddButton(spec);
  FitFont(width);
}

// The system's font, a little smaller where the buttons would not all fit: a button past the
// end would only be reached through the toolbar's overflow menu.
void MainToolbar::FitFont(int width) {
  QFont smaller = font();
  smaller.setPointSizeF(StepDownFont(smaller.pointSizeF(), 0.25, [&](double size) {
    smaller.setPointSizeF(size);
    setFont(smaller);
    return sizeHint().width() <= width;
  }));
  setFont(smaller);
}

void MainToolbar::AddButton(const ToolbarButton& spec) {
  if (spec.kind == ButtonKind::kSeparator) {
    addSeparator();
    return;
  }
  const QString caption = QString::fromUtf8(spec.caption);
  QAction* action = addAction(images_[static_cast<size_t>(spec.image - 1)], caption);
  actions_[static_cast<size_t>(spec.index - 1)] = action;
  action->setCheckable(IsCheck(spec.kind));
  action->setVisible(spec.visible);
  const int index = spec.index;
  if (!IsCheck(spec.kind)) {
    connect(action, &QAction::triggered, this,
            [this, index] { events_.OnToolbarClick(index, false); });
  }
  if (index == toolbar::kSource) MakeSourceMenu();
  if (index == toolbar::kStartup) MakeStartupMenu();

  QToolButton* button = Button(index);
  if (!button) return;
  if (IsCheck(spec.kind)) ReportToggles(index, button, action);
  // Reached with Tab like any other control, and with the arrows from its neighbours; Space
  // presses the button.
  button->setFocusPolicy(Qt::TabFocus);
  button->setAccessibleName(caption.trimmed());
  button->installEventFilter(this);
}

// A check button's state reaches the logic however it changed: a click or Space (through the
// action) or a screen reader's toggle action (on the button alone, which the action then
// follows), so the button and the setting never disagree. States set by the logic are not
// reported back.
void MainToolbar::ReportToggles(int index, QToolButton* button, QAction* action) {
  connect(button, &QToolButton::toggled, this, [this, index, action](bool on) {
    if (action->isChecked() != on) action->setChecked(on);
    if (!setting_) events_.OnToolbarClick(index, on);
  });
}

void MainToolbar::MakeSourceMenu() {
  source_menu_ = new QMenu(this);
  source_menu_->setAccessibleName(QStringLiteral("Source"));
  for (size_t i = 0; i < kSourceMenu.size(); ++i) {
    QAction* entry = source_menu_->addAction(QString::fromUtf8(kSourceMenu[i].text));
    entry->setObjectName(QString::fromUtf8(kSourceMenu[i].key));
    const int number = static_cast<int>(i) + 1;
    connect(entry, &QAction::triggered, this, [this, number] { events_.OnSourceMenu(number); });
  }
  OpenMenuOnArrow(toolbar::kSource, source_menu_);
}

// One choice of several, so the entries are exclusive: a screen reader says which is checked.
// The logic sets the check, which may differ from the entry chosen when the system refused it.
void MainToolbar::MakeStartupMenu() {
  startup_menu_ = new QMenu(this);
  startup_menu_->setAccessibleName(QStringLiteral("Startup"));
  startup_menu_->setToolTipsVisible(true);
  auto* group = new QActionGroup(startup_menu_);
  group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  for (size_t i = 0; i < kStartupMenu.size(); ++i) {
    QAction* entry = startup_menu_->addAction(QString::fromUtf8(kStartupMenu[i].text));
    entry->setCheckable(true);
    group->addAction(entry);
    const int number = static_cast<int>(i) + 1;
    connect(entry, &QAction::triggered, this, [this, number] { events_.OnStartupMenu(number); });
  }
  OpenMenuOnArrow(toolbar::kStartup, startup_menu_);
}

// Qt 6 opens a button's menu after a delay by default.
void MainToolbar::OpenMenuOnArrow(int index, QMenu* menu) {
  Action(index)->setMenu(menu);
  if (QToolButton* button = Button(index)) button->setPopupMode(QToolButton::MenuButtonPopup);
}

// The reason is the disabled entries' tool tip and, since a screen reader reads no tool tip of
// a menu entry, the menu's own description.
// The reason is the disabled entries' tool tip and, since a screen reader reads no tool tip of
// a menu entry, the menu's own description.
void MainToolbar::SetStartupMenu(const StartupMenuState& state) {
  const QString reason = state.intervals_enabled ? QString() : QString::fromStdString(state.reason);
  startup_menu_->setAccessibleDescription(reason);
  const QList<QAction*> entries = startup_menu_->actions();
  for (qsizetype i = 0; i < entries.size(); ++i) {
    QAction* entry = entries[i];
    entry->setChecked(i + 1 == state.checked);
    if (kStartupMenu[static_cast<size_t>(i)].minutes == 0) continue;
    entry->setEnabled(state.intervals_enabled);
    entry->setToolTip(reason);
  }
}

// Left and Right move between the buttons, as on a native toolbar; the arrow down or F4 on
// "Source" or "Startup" opens its menu, as in a drop-down list.
bool MainToolbar::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QToolBar::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key == Qt::Key_Left || key == Qt::Key_Right) {
    FocusNeighbour(watched, key == Qt::Key_Right ? 1 : -1);
    return true;
  }
  const bool opens = key == Qt::Key_Down || key == Qt::Key_F4;
  for (const int index : {toolbar::kSource, toolbar::kStartup}) {
    QToolButton* button = Button(index);
    if (watched != button || !opens) continue;
    button->showMenu();
    return true;
  }
  return QToolBar::eventFilter(watched, event);
}

// The next shown button in `step`'s direction, round from the last to the first.
void MainToolbar::FocusNeighbour(QObject* from, int step) {
  std::vector<QToolButton*> shown;
  for (const ToolbarButton& spec : kToolbarButtons) {
    QToolButton* button = spec.kind == ButtonKind::kSeparator ? nullptr : Button(spec.index);
    if (button && button->isVisible()) shown.push_back(button);
  }
  const auto at = std::find(shown.begin(), shown.end(), from);
  if (at == shown.end()) return;
  const auto count = static_cast<std::ptrdiff_t>(shown.size());
  const auto next = ((at - shown.begin()) + step + count) % count;
  shown[static_cast<size_t>(next)]->setFocus(Qt::TabFocusReason);
}

QAction* MainToolbar::Action(int index) const {
  if (index < 1 || index > static_cast<int>(actions_.size())) return nullptr;
  return actions_[static_cast<size_t>(index - 1)];
}

QToolButton* MainToolbar::Button(int index) const {
  QAction* action = Action(index);
  return action ? qobject_cast<QToolButton*>(widgetForAction(action)) : nullptr;
}

void MainToolbar::SetPressed(int index, bool pressed) {
  QAction* action = Action(index);
  if (!action) return;
  setting_ = true;
  action->setChecked(pressed);
  setting_ = false;
}

void MainToolbar::SetSourceImage(int image) {
  if (image < 1 || image > 3) return;
  if (QAction* action = Action(toolbar::kSource))
    action->setIcon(images_[static_cast<size_t>(image - 1)]);
}

}  // namespace vellumo
