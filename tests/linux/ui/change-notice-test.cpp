// The change notice's window and the Qt loop, offscreen: the wiring only, the logic is the
// core's and tested there.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <vector>

#include "change_notice.h"
#include "display_probe.h"
#include "qt_event_loop.h"

namespace vellumo {
namespace {

struct RecordedEvents : ChangeScreenEvents {
  void OnTimer() override { ++ticks; }
  void OnKeyPress(int char_code) override { keys.push_back(char_code); }
  int ticks = 0;
  std::vector<int> keys;
};

QWidget* NoticeWindow() {
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->objectName() == "frmChanging") return window;
  return nullptr;
}

QString LabelText(QWidget* window, const char* name) {
  const auto* label = window->findChild<QLabel*>(name);
  return label ? label->text() : QString("(no %1)").arg(name);
}

class ChangeNotice : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(QtScreenDpi(), 96) << "the sizes below are those at 96 dpi";
    notice_ = CreateChangeNotice(events_);
    window_ = NoticeWindow();
    ASSERT_NE(window_, nullptr);
  }

  RecordedEvents events_;
  std::unique_ptr<ChangeScreenView> notice_;
  QWidget* window_ = nullptr;
};

TEST_F(ChangeNotice, IsAFramelessCentredWindowWithTheIconNameAndFileName) {
  notice_->SetFileName("/pictures/<b>sea</b>.jpg");
  notice_->Show();
  EXPECT_EQ(window_->size(), QSize(312, 80));
  EXPECT_TRUE(window_->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(window_->geometry().center(), QGuiApplication::primaryScreen()->geometry().center());
  EXPECT_EQ(LabelText(window_, "Label1"), "Vellumo");
  EXPECT_TRUE(window_->findChild<QLabel*>("Label1")->font().bold());
  EXPECT_EQ(LabelText(window_, "lblFileName"), "/pictures/<b>sea</b>.jpg") << "shown as text";
  const auto* image = window_->findChild<QLabel*>("Image1");
  ASSERT_NE(image, nullptr);
  EXPECT_FALSE(image->pixmap().isNull()) << "the program's icon";
}

TEST_F(ChangeNotice, ShortensPathsToTheLabelMeasuredInItsFont) {
  const std::string path = "/home/ann/Pictures/holidays/2024/summer/beach/IMG_0001.jpg";
  const std::string shown = notice_->TruncatePath(path, 196);
  EXPECT_LT(shown.size(), path.size());
  EXPECT_TRUE(shown.ends_with("IMG_0001.jpg")) << shown;
  const QFontMetrics metrics(window_->findChild<QLabel*>("lblFileName")->font());
  EXPECT_LE(metrics.horizontalAdvance(QString::fromStdString(shown)), 196) << shown;
  EXPECT_EQ(notice_->TruncatePath("/a/b.jpg", 196), "/a/b.jpg");
}

TEST_F(ChangeNotice, HandsEscapeAndItsTimerToTheLogic) {
  notice_->Show();
  EXPECT_TRUE(QTest::qWaitForWindowActive(window_, 1000)) << "the notice takes the keyboard";
  QTest::keyClick(window_, Qt::Key_Escape);
  EXPECT_EQ(events_.keys, std::vector<int>{27});
  notice_->StartTimer(5);
  EXPECT_TRUE(QTest::qWaitFor([&] { return events_.ticks > 0; }, 2000));
  notice_->StopTimer();
}

TEST_F(ChangeNotice, TheLoopRunsUntilTheNoticeIsDestroyedByItsTimer) {
  struct DestroyOnTick : ChangeScreenEvents {
    void OnTimer() override { notice->Destroy(); }
    void OnKeyPress(int) override {}
    ChangeScreenView* notice = nullptr;
  } events;
  auto notice = CreateChangeNotice(events);
  events.notice = notice.get();
  notice_.reset();  // only the notice under test is left
  notice->StartTimer(10);
  QtEventLoop loop;
  loop.Run();
  EXPECT_EQ(NoticeWindow(), nullptr);
}

TEST(QtPlatforms, LeavesOutWindowSystemsThatCannotBeReached) {
  EXPECT_EQ(QtPlatforms("", {true, true}), "xcb;wayland");
  EXPECT_EQ(QtPlatforms("", {false, true}), "wayland");
  EXPECT_EQ(QtPlatforms("", {false, false}), "") << "no display: no Qt at all";
  EXPECT_EQ(QtPlatforms("wayland-egl;xcb:foo", {true, false}), "xcb:foo");
  EXPECT_EQ(QtPlatforms("wayland", {true, false}), "");
  EXPECT_EQ(QtPlatforms("offscreen", {false, false}), "offscreen");
}

}  // namespace
}  // namespace vellumo
