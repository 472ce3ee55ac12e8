// The windows' layouts and the rules both programs draw them by.
#include <gtest/gtest.h>

#include "ui/about_layout.h"
#include "ui/main_layout.h"
#include "ui/ratio_layout.h"

namespace vellumo {
namespace {

bool Inside(const DeviceRect& part, const DeviceRect& area) {
  return part.left >= area.left && part.top >= area.top && part.right <= area.right &&
         part.bottom <= area.bottom;
}

bool Overlap(const DeviceRect& a, const DeviceRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(LayoutTest, OneRoundingAndEdgesThatStayNeighbours) {
  EXPECT_EQ(ToDevice(3, 144), 5) << "4.5: halves away from zero";
  EXPECT_EQ(ToDevice(-3, 144), -5);
  EXPECT_EQ(ToDevice(1, 120), 1);
  // Two boxes that meet in the design meet at 150 %, where their sizes alone would not.
  const DeviceRect left = ToDevice(Box{0, 0, 3, 3}, 144);
  const DeviceRect right = ToDevice(Box{3, 0, 3, 3}, 144);
  EXPECT_EQ(left.right, right.left);
  EXPECT_EQ(ToDevice(Box{1, 2, 3, 4}, 96, Box{10, 20, 0, 0}), (DeviceRect{11, 22, 14, 26}));
}

TEST(LayoutTest, AFontStepsDownUntilTheTextFitsButNotBelowThreeQuarters) {
  EXPECT_EQ(StepDownFont(12, 0.25, [](double size) { return size <= 10; }), 10);
  EXPECT_EQ(StepDownFont(12, 0.25, [](double) { return false; }), 9);
  EXPECT_EQ(StepDownFont(16, 1, [](double) { return true; }), 16);
}

TEST(LayoutTest, TheAutomaticModeDialogKeepsItsPartsApartAtAnyDpi) {
  const RatioRects at96 = LayoutRatio(96);
  EXPECT_EQ(at96.client, (DeviceRect{0, 0, 305, 316}));
  // Frame contents are placed relative to their frame.
  EXPECT_EQ(at96.sections[1].text, (DeviceRect{78, 126, 289, 169}));
  EXPECT_EQ(at96.size_slider, (DeviceRect{69, 60, 232, 94}));
  EXPECT_EQ(at96.ratio_label, (DeviceRect{231, 186, 289, 205}));
  EXPECT_EQ(at96.cancel, (DeviceRect{198, 288, 301, 313}));

  for (const int dpi : {96, 120, 144, 192}) {
    const RatioRects l = LayoutRatio(dpi);
    SCOPED_TRACE(dpi);
    for (const auto& s : l.sections) {
      EXPECT_TRUE(Inside(s.frame, l.client));
      EXPECT_TRUE(Inside(s.text, s.frame));
      EXPECT_FALSE(Overlap(s.digit, s.frame));
    }
    EXPECT_FALSE(Overlap(l.sections[0].frame, l.sections[1].frame));
    EXPECT_FALSE(Overlap(l.sections[1].frame, l.sections[2].frame));
    EXPECT_TRUE(Inside(l.size_slider, l.sections[0].frame));
    EXPECT_TRUE(Inside(l.size_label, l.sections[0].frame));
    EXPECT_TRUE(Inside(l.ratio_slider, l.sections[1].frame));
    EXPECT_TRUE(Inside(l.ratio_label, l.sections[1].frame));
    EXPECT_FALSE(Overlap(l.size_slider, l.size_label));
    EXPECT_FALSE(Overlap(l.ratio_slider, l.ratio_label));
    EXPECT_FALSE(Overlap(l.ok, l.cancel));
    EXPECT_GE(l.ok.top, l.sections[2].frame.bottom);
    EXPECT_TRUE(Inside(l.cancel, l.client));
  }
}

TEST(LayoutTest, TheAboutBoxKeepsItsPartsApartAndItsCancelOutOfSight) {
  for (const int dpi : {96, 144}) {
    const AboutRects l = LayoutAbout(dpi);
    SCOPED_TRACE(dpi);
    // (The credit's box runs past the right edge by design; its text is centred well inside.)
    for (const DeviceRect& part : {l.product, l.version, l.link, l.image})
      EXPECT_TRUE(Inside(part, l.client));
    EXPECT_FALSE(Overlap(l.product, l.version));
    EXPECT_FALSE(Overlap(l.credit, l.link));
    EXPECT_FALSE(Overlap(l.image, l.credit));
    EXPECT_GE(l.cancel.top, l.client.bottom) << "there only for Esc";
  }
}

TEST(LayoutTest, ThePreviewPictureIsPlacedFromTheAreasCorner) {
  const PreviewArea& area = main_layout::kPreviewArea;
  const PreviewRect square = FitPreview({500, 500}, area);
  EXPECT_EQ(main_layout::PreviewDeviceRect(square, 144), (DeviceRect{0, -29, 249, -29 + 249}))
      << "the overflow cut evenly, top and bottom";
  EXPECT_EQ(main_layout::PreviewDeviceRect({area.left, area.top, 0.2f, 0.2f}, 96).width(), 1);
}

}  // namespace
}  // namespace vellumo
