// The settings window's dialogs, shown modally as the logic shows them: what OK, Cancel, Esc and
// the link hand back.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "about_dialog.h"
#include "design_scale.h"
#include "main_window_fixture.h"
#include "ratio_dialog.h"
#include "ui/about.h"
#include "ui/about_layout.h"

namespace vellumo {
namespace {

QPushButton* ButtonNamed(QWidget& dialog, const QString& text) {
  for (auto* button : dialog.findChildren<QPushButton*>())
    if (button->text() == text) return button;
  return nullptr;
}

bool HasLabel(QWidget& dialog, const QString& text) {
  for (auto* label : dialog.findChildren<QLabel*>())
    if (label->text() == text) return true;
  return false;
}

// The dialogs stand where the one layout of both programs puts them, at the screen's dpi.
TEST(DialogLayoutTest, ControlsStandWhereTheLayoutPutsThem) {
  RatioDialog ratio(nullptr, AutoThresholds{});
  const RatioRects layout = LayoutRatio(DesignScale(ratio).dpi());
  EXPECT_EQ(ratio.size(), ToQRect(layout.client).size());
  EXPECT_EQ(ratio.size_slider().geometry(), ToQRect(layout.size_slider));
  EXPECT_EQ(ratio.ratio_slider().geometry(), ToQRect(layout.ratio_slider));
  EXPECT_EQ(ButtonNamed(ratio, "OK")->geometry(), ToQRect(layout.ok));

  AboutDialog about(nullptr, [](const QUrl&) {});
  const AboutRects about_rects = LayoutAbout(DesignScale(about).dpi());
  EXPECT_EQ(about.size(), ToQRect(about_rects.client).size());
  EXPECT_EQ(ButtonNamed(about, about_text::kLinkText)->geometry(), ToQRect(about_rects.link));
}

class RatioDialogTest : public testing::Test {
 protected:
  // Opens the dialog through the view at 300 pixels and 10%, moves the size slider one step
  // right with the keyboard, then does `close`.
  std::optional<AutoThresholds> EditThenClose(std::function<void(QWidget&)> close) {
    WhenOpen([this, close](QWidget& open) {
      auto* dialog = qobject_cast<RatioDialog*>(&open);
      if (!dialog) {
        open.close();
        return;
      }
      seen_at_start_ = {static_cast<int16_t>(dialog->size_slider().value()),
                        static_cast<int16_t>(dialog->ratio_slider().value())};
      QTest::keyClick(&dialog->size_slider(), Qt::Key_Right);
      label_followed_ = HasLabel(*dialog, "301 pixels") && HasLabel(*dialog, "10% margin");
      close(*dialog);
    });
    return view_.EditThresholds(AutoThresholds{300, 10});
  }

  RecordedEvents events_;
  QtMainView view_{events_};
  AutoThresholds seen_at_start_{};
  bool label_followed_ = false;
};

TEST_F(RatioDialogTest, OkHandsBackTheSlidersWithTheLabelsFollowingThem) {
  const auto chosen = EditThenClose(
      [](QWidget& dialog) { QTest::mouseClick(ButtonNamed(dialog, "OK"), Qt::LeftButton); });
  EXPECT_EQ(seen_at_start_.size, 300);
  EXPECT_EQ(seen_at_start_.ratio, 10);
  EXPECT_TRUE(label_followed_);
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->size, 301);
  EXPECT_EQ(chosen->ratio, 10);
}

TEST_F(RatioDialogTest, EnterIsOk) {
  const auto chosen =
      EditThenClose([](QWidget& dialog) { QTest::keyClick(&dialog, Qt::Key_Return); });
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->size, 301);
}

TEST_F(RatioDialogTest, CancelEscAndTheCloseBoxHandBackNothing) {
  EXPECT_FALSE(EditThenClose(
      [](QWidget& dialog) { QTest::mouseClick(ButtonNamed(dialog, "Cancel"), Qt::LeftButton); }));
  EXPECT_FALSE(EditThenClose([](QWidget& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); }));
  EXPECT_FALSE(EditThenClose([](QWidget& dialog) { dialog.close(); }));
}

TEST_F(RatioDialogTest, SlidersHaveTheDesignedRangesStepsAndTicks) {
  RatioDialog dialog(nullptr, AutoThresholds{900, -4});
  const QSlider& size = dialog.size_slider();
  EXPECT_EQ(size.maximum(), kSizeSlider.maximum);
  EXPECT_EQ(size.pageStep(), kSizeSlider.large_step);
  EXPECT_EQ(size.tickInterval(), kSizeSlider.tick_every);
  EXPECT_EQ(size.tickPosition(), QSlider::TicksBelow);
  EXPECT_EQ(size.value(), 800) << "a hand-edited value starts at the end of the range";
  EXPECT_EQ(dialog.ratio_slider().tickInterval(), kRatioSlider.tick_every);
  EXPECT_EQ(dialog.windowTitle(), ratio_text::kCaption);
}

TEST(AboutBoxTest, LinkOpensTheAddressAndLeavesTheBoxOpenUntilEsc) {
  std::vector<QUrl> opened;
  MainWindowHooks hooks;
  hooks.open_link = [&opened](const QUrl& address) { opened.push_back(address); };
  RecordedEvents events;
  QtMainView view(events, hooks);
  bool open_after_link = false;
  QString title;
  WhenOpen([&](QWidget& open) {
    auto* about = qobject_cast<AboutDialog*>(&open);
    if (!about) {
      open.close();
      return;
    }
    title = about->windowTitle();
    QTest::mouseClick(&about->link(), Qt::LeftButton);
    QTest::keyClick(&about->link(), Qt::Key_Space);
    open_after_link = about->isVisible();
    QTest::keyClick(about, Qt::Key_Escape);
  });
  view.ShowAbout();
  EXPECT_EQ(title, about_text::kCaption);
  EXPECT_TRUE(open_after_link);
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0], QUrl(about_text::kMakerAddress));
}

}  // namespace
}  // namespace vellumo
