// The settings window's wiring, offscreen: controls and texts, and the user's actions reaching
// the logic. What the logic does with them is tested in the core.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include "main_toolbar.h"
#include "main_window_fixture.h"
#include "preview_pane.h"
#include "qt_views.h"
#include "ui/main_layout.h"
#include "ui/toolbar.h"

namespace vellumo {
namespace {

using Lines = std::vector<std::string>;

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    hooks_.choose_folder = [this](QWidget* owner, const std::string& prompt,
                                  const std::string& start) {
      chooser_calls_.push_back(prompt + " from " + start);
      EXPECT_EQ(owner, view_->window());
      return std::string("/home/me/Pictures");
    };
    hooks_.choose_picture = [this](QWidget* owner, const std::string& prompt,
                                   const std::string& start) {
      chooser_calls_.push_back(prompt + " from " + start);
      EXPECT_EQ(owner, view_->window());
      return std::string("/home/me/Pictures/sea.jpg");
    };
    hooks_.decode_preview = [this](const std::string& path,
                                   const WantedSize& wanted) -> std::optional<PreviewImage> {
      const PixelSize size = wanted({4000, 3000});
      asked_size_ = QSize(size.width, size.height);
      if (path != "good.jpg") return std::nullopt;
      QImage image(asked_size_, QImage::Format_RGB32);
      image.fill(Qt::red);
      return PreviewImage{image, PixelSize{4000, 3000}};
    };
    view_ = std::make_unique<QtMainView>(events_, hooks_);
  }

  QWidget& Window() { return *view_->window(); }
  template <typename T>
  T& Control(const char* name) {
    T* control = Window().findChild<T*>(QString::fromLatin1(name));
    if (!control) throw std::runtime_error(std::string("no control ") + name);
    return *control;
  }
  void ShowActive() {
    view_->Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
  }

  RecordedEvents events_;
  MainWindowHooks hooks_;
  std::vector<std::string> chooser_calls_;
  QSize asked_size_;
  std::unique_ptr<QtMainView> view_;
};

TEST_F(MainWindowTest, HasTheDesignedControlsCaptionsAndSize) {
  EXPECT_EQ(Window().windowTitle(), main_text::kCaption);
  EXPECT_EQ(Window().size(), QSize(main_layout::kClientWidth, main_layout::kClientHeight));
  EXPECT_EQ(Control<QGroupBox>("Frame1").title(), "Location");
  EXPECT_EQ(Control<QGroupBox>("fraImages").title(), "Images (0)");
  EXPECT_EQ(Control<QGroupBox>("fraPreview").title(), "       Preview");
  EXPECT_EQ(Control<QGroupBox>("Frame2").title(), "Display Mode");
  EXPECT_EQ(Control<QPushButton>("btnNext").text(), "&Next Picture");
  EXPECT_FALSE(Control<QPushButton>("btnNext").isEnabled());
  EXPECT_EQ(Control<QPushButton>("btnSave").text(), "&SAVE and Exit");
  EXPECT_TRUE(Control<QCheckBox>("chkPreview").isChecked());
  EXPECT_TRUE(Control<QLineEdit>("txtSource").isReadOnly());
  const auto& modes = Control<QComboBox>("cboDisplayMode");
  ASSERT_EQ(modes.count(), 4);
  EXPECT_EQ(modes.itemText(3), "Tile");
  EXPECT_TRUE(Control<QGroupBox>("Frame1").font().bold());
  EXPECT_EQ(Control<QGroupBox>("Frame1").geometry(), QRect(3, 60, 367, 49));
  EXPECT_EQ(Control<QCheckBox>("chkPreview").geometry(), QRect(188, 111, 16, 16))
      << "over the preview caption's blanks";
}

TEST_F(MainWindowTest, ToolbarHasTheDesignedButtons) {
  MainToolbar& toolbar = view_->toolbar();
  for (const ToolbarButton& spec : kToolbarButtons) {
    QAction* action = toolbar.Action(spec.index);
    SCOPED_TRACE(spec.index);
    if (spec.kind == ButtonKind::kSeparator) {
      EXPECT_EQ(action, nullptr);
      continue;
    }
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), spec.caption);
    EXPECT_EQ(action->isCheckable(), IsCheck(spec.kind));
    EXPECT_EQ(action->isVisible(), spec.visible);
  }
  EXPECT_EQ(toolbar.toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
  EXPECT_EQ(toolbar.Button(toolbar::kSource)->popupMode(), QToolButton::MenuButtonPopup);
  ASSERT_EQ(toolbar.SourceMenu()->actions().size(), 3);
  EXPECT_EQ(toolbar.SourceMenu()->actions()[1]->text(), "Single Folder");
  EXPECT_EQ(toolbar.Button(toolbar::kStartup)->popupMode(), QToolButton::MenuButtonPopup);
  ASSERT_EQ(toolbar.StartupMenu()->actions().size(), 5);
  EXPECT_EQ(toolbar.StartupMenu()->actions()[2]->text(), "Every Hour");
}

TEST_F(MainWindowTest, EveryControlTheKeyboardReachesHasAnAccessibleName) {
  for (QWidget* child : Window().findChildren<QWidget*>()) {
    if (child->focusPolicy() == Qt::NoFocus || !child->isVisibleTo(&Window())) continue;
    const auto* button = qobject_cast<QAbstractButton*>(child);
    const bool named = !child->accessibleName().isEmpty() || (button && !button->text().isEmpty());
    EXPECT_TRUE(named) << child->metaObject()->className() << " "
                       << child->objectName().toStdString();
  }
}

TEST_F(MainWindowTest, ToolbarClicksReachTheLogicWithTheNewState) {
  ShowActive();
  MainToolbar& toolbar = view_->toolbar();
  QTest::mouseClick(toolbar.Button(toolbar::kRandom), Qt::LeftButton);
  view_->SetButtonPressed(toolbar::kRepeats, true);  // no command
  QTest::mouseClick(toolbar.Button(toolbar::kRepeats), Qt::LeftButton);
  QTest::mouseClick(toolbar.Button(toolbar::kAbout), Qt::LeftButton);
  QToolButton* source = toolbar.Button(toolbar::kSource);
  QTest::mouseClick(source, Qt::LeftButton, {}, QPoint(4, source->height() / 2));  // its face
  EXPECT_EQ(events_.lines, (Lines{"toolbar 4 pressed", "toolbar 5 released", "toolbar 10 released",
                                  "toolbar 2 released"}));
}

// What a screen reader does (Orca's "toggle" on a check button) reaches the logic as a click
// does, and the button and its action stay in step for the next click.
TEST_F(MainWindowTest, AScreenReadersToggleReachesTheLogic) {
  ShowActive();
  QToolButton* startup = view_->toolbar().Button(toolbar::kStartup);
  QAccessibleInterface* button = QAccessible::queryAccessibleInterface(startup);
  ASSERT_TRUE(button && button->actionInterface());
  button->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_TRUE(view_->toolbar().Action(toolbar::kStartup)->isChecked());
  QTest::mouseClick(startup, Qt::LeftButton);
  EXPECT_FALSE(startup->isChecked());
  EXPECT_EQ(events_.lines, (Lines{"toolbar 9 pressed", "toolbar 9 released"}));
}

TEST_F(MainWindowTest, EnterAppliesTheSelectedRowAndRowsTellTheirPath) {
  ShowActive();
  view_->SetImages({"a", "b"});
  auto& list = Control<QListView>("lstImages");
  list.setCurrentIndex(list.model()->index(1, 0));
  QTest::keyClick(&list, Qt::Key_Return);
  const QPoint row = list.visualRect(list.model()->index(0, 0)).center();
  QHelpEvent tip(QEvent::ToolTip, row, list.viewport()->mapToGlobal(row));
  QApplication::sendEvent(list.viewport(), &tip);
  QHelpEvent preview_tip(QEvent::ToolTip, QPoint(5, 5), view_->preview().mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(&view_->preview(), &preview_tip);
  EXPECT_EQ(events_.lines, (Lines{"select 1", "double-click 1", "tip 0", "preview tip"}));
}

TEST_F(MainWindowTest, SourceArrowAndKeyboardOpenTheMenuWhoseEntriesReachTheLogic) {
  ShowActive();
  QToolButton* source = view_->toolbar().Button(toolbar::kSource);
  WhenOpen([](QWidget& menu) {
    QTest::keyClick(&menu, Qt::Key_Down);
    QTest::keyClick(&menu, Qt::Key_Down);
    QTest::keyClick(&menu, Qt::Key_Return);
  });
  QTest::mouseClick(source, Qt::LeftButton, {}, QPoint(source->width() - 3, source->height() / 2));
  WhenOpen([](QWidget& menu) {
    QTest::keyClick(&menu, Qt::Key_Down);
    QTest::keyClick(&menu, Qt::Key_Return);
  });
  source->setFocus();
  QTest::keyClick(source, Qt::Key_Down);
  EXPECT_EQ(events_.lines, (Lines{"menu 2", "menu 1"}));

  view_->SetSourceImage(1);
  EXPECT_EQ(source->icon().cacheKey(),
            view_->toolbar().Action(toolbar::kSource)->icon().cacheKey());
}

TEST_F(MainWindowTest, StartupArrowAndKeyboardOpenItsMenuWhoseEntriesReachTheLogic) {
  ShowActive();
  QToolButton* startup = view_->toolbar().Button(toolbar::kStartup);
  WhenOpen([](QWidget& menu) {
    QTest::keyClick(&menu, Qt::Key_Down);
    QTest::keyClick(&menu, Qt::Key_Down);
    QTest::keyClick(&menu, Qt::Key_Return);
  });
  QTest::mouseClick(startup, Qt::LeftButton, {},
                    QPoint(startup->width() - 3, startup->height() / 2));
  WhenOpen([](QWidget& menu) {
    QTest::keyClick(&menu, Qt::Key_Down);
    QTest::keyClick(&menu, Qt::Key_Return);
  });
  startup->setFocus();
  QTest::keyClick(startup, Qt::Key_F4);
  EXPECT_EQ(events_.lines, (Lines{"startup menu 2", "startup menu 1"}))
      << "the arrow never presses the button itself";
  EXPECT_FALSE(startup->isChecked());
}

// What a screen reader reads of the menu: which entry is checked, and why the intervals are off.
TEST_F(MainWindowTest, StartupMenuShowsTheChoiceAndWhyIntervalsAreOff) {
  QMenu& menu = *view_->toolbar().StartupMenu();
  view_->SetStartupMenu({3, true, ""});
  EXPECT_TRUE(menu.actions()[2]->isChecked());
  EXPECT_TRUE(menu.actions()[1]->isEnabled());
  view_->SetStartupMenu({1, false, "No user manager."});
  EXPECT_TRUE(menu.actions()[0]->isChecked());
  EXPECT_FALSE(menu.actions()[2]->isChecked());
  EXPECT_TRUE(menu.actions()[0]->isEnabled());
  for (int i = 1; i < 5; ++i) {
    EXPECT_FALSE(menu.actions()[i]->isEnabled());
    EXPECT_EQ(menu.actions()[i]->toolTip(), "No user manager.");
  }
  menu.popup(QPoint(0, 0));
  const QPoint at = menu.actionGeometry(menu.actions()[3]).center();
  QHelpEvent tip(QEvent::ToolTip, at, menu.mapToGlobal(at));
  QApplication::sendEvent(&menu, &tip);
  EXPECT_EQ(QToolTip::text(), "No user manager.");
  QAccessibleInterface* entry = QAccessible::queryAccessibleInterface(&menu)->child(1);
  ASSERT_NE(entry, nullptr);
  EXPECT_TRUE(entry->state().disabled);
  EXPECT_TRUE(QAccessible::queryAccessibleInterface(&menu)->child(0)->state().checked);
  EXPECT_EQ(QAccessible::queryAccessibleInterface(&menu)->text(QAccessible::Description),
            "No user manager.")
      << "a menu entry tells a screen reader nothing of its tool tip";
  menu.close();
}

TEST_F(MainWindowTest, ArrowsMoveAlongTheShownToolbarButtons) {
  ShowActive();
  MainToolbar& toolbar = view_->toolbar();
  toolbar.Button(toolbar::kFadeOut)->setFocus();
  QTest::keyClick(toolbar.Button(toolbar::kFadeOut), Qt::Key_Right);  // past the hidden Make File
  EXPECT_TRUE(toolbar.Button(toolbar::kStartup)->hasFocus());
  toolbar.Button(toolbar::kSource)->setFocus();
  QTest::keyClick(toolbar.Button(toolbar::kSource), Qt::Key_Left);  // round to the last
  EXPECT_TRUE(toolbar.Button(toolbar::kAbout)->hasFocus());
  EXPECT_TRUE(events_.lines.empty());
}

TEST_F(MainWindowTest, ControlsReportTheUsersActions) {
  ShowActive();
  view_->SetImages({"Amber swirl", "Harbour at dusk", "Nuit étoilée"});
  view_->SetNextEnabled(true);
  auto& list = Control<QListView>("lstImages");
  ASSERT_EQ(list.model()->rowCount(), 3);
  EXPECT_EQ(list.model()->index(2, 0).data().toString(), "Nuit étoilée");
  const QPoint second = list.visualRect(list.model()->index(1, 0)).center();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, second);
  QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, second);
  QTest::mouseClick(&Control<QCheckBox>("chkPreview"), Qt::LeftButton);
  QTest::mouseClick(&Control<QPushButton>("btnBrowse"), Qt::LeftButton);
  QTest::mouseClick(&Control<QPushButton>("btnDisplaySettings"), Qt::LeftButton);
  QTest::mouseClick(&Control<QPushButton>("btnNext"), Qt::LeftButton);
  QTest::mouseClick(&Control<QPushButton>("btnSave"), Qt::LeftButton);
  view_->SetDisplayRow(2);  // set by the logic: not reported
  EXPECT_EQ(Control<QComboBox>("cboDisplayMode").currentIndex(), 2);
  EXPECT_EQ(events_.lines, (Lines{"select 1", "double-click 1", "preview off", "browse",
                                  "display settings", "next", "save"}));
}

TEST_F(MainWindowTest, EscAndTheCloseBoxCancelOnceAndDestroyClosesWithoutAsking) {
  ShowActive();
  QTest::keyClick(&Control<QListView>("lstImages"), Qt::Key_Escape);
  Window().close();
  EXPECT_EQ(events_.lines, (Lines{"cancel", "cancel"}));

  QPointer<QWidget> window = &Window();
  view_->Show();
  view_->Destroy();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(events_.lines.size(), 2u);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull()) << "the program's loop ends when no window is left";
  view_->SetImages({"late"});  // the logic may still talk to a destroyed view
}

TEST_F(MainWindowTest, PreviewDecodesForTheAreaInDevicePixelsAndShowsTheNotice) {
  EXPECT_FALSE(view_->LoadPicture("bad.jpg"));
  const auto size = view_->LoadPicture("good.jpg");
  ASSERT_TRUE(size);
  EXPECT_EQ(size->width, 4000);
  EXPECT_EQ(asked_size_, QSize(166, 125)) << "the size the logic shows a 4:3 picture at";
  const PreviewArea& area = main_layout::kPreviewArea;
  view_->PlacePicture(PreviewRect{area.left + 10, area.top + 20, 50.4f, 30.6f});
  EXPECT_EQ(view_->preview().picture().geometry(), QRect(10, 20, 50, 31)) << "in the area";
  view_->SetLoadingText("\r\n\r\n\r\nInvalid File");
  EXPECT_EQ(view_->preview().notice().text(), "\n\n\nInvalid File");
}

TEST_F(MainWindowTest, BrowseGoesThroughTheInjectedChoosers) {
  EXPECT_EQ(view_->BrowseForFolder("Select Folder...", "/usr/share/backgrounds/"),
            "/home/me/Pictures");
  EXPECT_EQ(view_->BrowseForPicture("Select Picture...", "/home/me/Pictures/sea.jpg"),
            "/home/me/Pictures/sea.jpg");
  EXPECT_EQ(chooser_calls_, (Lines{"Select Folder... from /usr/share/backgrounds/",
                                   "Select Picture... from /home/me/Pictures/sea.jpg"}));
}

// An 800 x 400 JPEG, red, in a folder of the test's own: ctest runs tests side by side.
class PreviewDecoding : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    QImage picture(800, 400, QImage::Format_RGB32);
    picture.fill(QColor(220, 20, 20));
    ASSERT_TRUE(picture.save(folder_.filePath("red.jpg"), "JPEG"));
  }
  std::string Path() const { return folder_.filePath("red.jpg").toStdString(); }
  static PixelSize Wanted(PixelSize) { return {200, 100}; }

  QTemporaryDir folder_;
};

TEST_F(PreviewDecoding, WithQtDecodesAtTheSizeWantedAndTellsTheFullSize) {
  const auto preview = DecodePreviewWithQt(Path(), Wanted);
  ASSERT_TRUE(preview);
  EXPECT_EQ(preview->full.width, 800);
  EXPECT_EQ(preview->full.height, 400);
  EXPECT_EQ(preview->image.size(), QSize(200, 100));
  EXPECT_FALSE(DecodePreviewWithQt("/nonexistent/picture.jpg", Wanted));
}

TEST_F(PreviewDecoding, WithTheProgramsDecodersKeepsTheColours) {
  const auto preview = DecodePreviewWithCodecs(Path(), Wanted);
  ASSERT_TRUE(preview);
  EXPECT_EQ(preview->full.width, 800);
  const QColor middle = preview->image.pixelColor(preview->image.rect().center());
  EXPECT_GT(middle.red(), 180);
  EXPECT_LT(middle.blue(), 60) << "red and blue swapped";
  EXPECT_FALSE(DecodePreviewWithCodecs("/nonexistent/picture.jpg", Wanted));
}

}  // namespace
}  // namespace vellumo
