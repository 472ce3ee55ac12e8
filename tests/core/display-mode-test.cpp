#include "change/display_mode.h"

#include <gtest/gtest.h>

#include "change/apply_picture.h"
#include "change/wallpaper.h"
#include "fakes.h"

namespace vellumo {
namespace {

using testing::FakeSystem;

std::string Auto(int width, int height, int16_t size = 300, int16_t ratio = 10, int dpi = 96) {
  return Choose_Display_Mode(kAuto, {width, height}, dpi, size, ratio).value_or("<nothing>");
}

TEST(Himetric, ConversionsRoundAsAPictureReportsItsSize) {
  EXPECT_EQ(PixelsToHimetric(1024, 96), 27093);   // 27093.33
  EXPECT_EQ(PixelsToHimetric(768, 96), 20320);    // exact
  EXPECT_EQ(PixelsToHimetric(1, 96), 26);         // 26.46
  EXPECT_EQ(PixelsToHimetric(1024, 120), 21675);  // 21674.67
  EXPECT_EQ(HimetricToPixels(27093, 96), 1024);
  EXPECT_EQ(HimetricToPixels(21675, 120), 1024);
  // At 254 dpi ten HIMETRIC units are exactly one pixel, so halves occur: they go to the even
  // neighbour.
  EXPECT_EQ(HimetricToPixels(5, 254), 0);
  EXPECT_EQ(HimetricToPixels(15, 254), 2);
  EXPECT_EQ(HimetricToPixels(25, 254), 2);
  EXPECT_EQ(HimetricToPixels(35, 254), 4);
  EXPECT_EQ(HimetricToPixels(16, 254), 2);
  EXPECT_EQ(HimetricToPixels(14, 254), 1);
}

TEST(Himetric, PixelSizesSurviveTheRoundTrip) {
  for (int dpi : {72, 96, 120, 144, 192})
    for (int pixels = 0; pixels <= 5000; pixels += 7)
      EXPECT_EQ(HimetricToPixels(PixelsToHimetric(pixels, dpi), dpi), pixels) << dpi;
}

TEST(AutomaticMode, SmallPicturesAreTiledAndEqualityCounts) {
  EXPECT_EQ(Auto(300, 2000), "TILED");
  EXPECT_EQ(Auto(2000, 300), "TILED");
  EXPECT_EQ(Auto(400, 300), "TILED") << "tiled even though its shape is 4:3";
  EXPECT_EQ(Auto(301, 2000), "CENTER");
  EXPECT_EQ(Auto(301, 301), "CENTER") << "a square lies outside the stretch band";
  EXPECT_EQ(Auto(1, 1, 0), "CENTER") << "a limit of 0 never tiles";
  EXPECT_EQ(Auto(800, 801, 800), "TILED");
  EXPECT_EQ(Auto(801, 801, 800), "CENTER");
}

TEST(AutomaticMode, TheStretchBandAroundFourThirds) {
  // Default margin 10 %: 1.2 <= R <= 1.4667.
  EXPECT_EQ(Auto(1600, 1200), "STRETCH");  // 4:3
  EXPECT_EQ(Auto(1280, 1024), "STRETCH");  // 5:4
  EXPECT_EQ(Auto(1500, 1000), "CENTER");   // 3:2
  EXPECT_EQ(Auto(1920, 1080), "CENTER");   // 16:9
  EXPECT_EQ(Auto(1024, 768), "STRETCH");
  // Margin 0: the band is 4/3 itself, and 1024 x 768 at 96 dpi lies just below it.
  EXPECT_EQ(Auto(1024, 768, 300, 0), "CENTER");
  // Margin 50: 0.6667 <= R <= 2.0, both ends included.
  EXPECT_EQ(Auto(1000, 500, 300, 50), "STRETCH");  // R = 2.0 exactly
  EXPECT_EQ(Auto(1001, 500, 300, 50), "CENTER");
  EXPECT_EQ(Auto(800, 1100, 300, 50), "STRETCH");
  EXPECT_EQ(Auto(800, 1100, 300, 10), "CENTER");
  EXPECT_EQ(Auto(400, 1000, 300, 50), "CENTER");
  // A negative margin leaves no band at all.
  EXPECT_EQ(Auto(1600, 1200, 300, -10), "CENTER");
}

TEST(AutomaticMode, OtherScreenResolutions) {
  // 1024 x 768 lies just above 4:3 at 120 dpi and just below at 144 dpi; either way it leaves a
  // band of zero width.
  EXPECT_EQ(Auto(1024, 768, 300, 0, 120), "CENTER");
  EXPECT_EQ(Auto(1024, 768, 300, 0, 144), "CENTER");
  EXPECT_EQ(Auto(1440, 1080, 300, 0, 120), "STRETCH");  // both sizes exact at 120 dpi
  EXPECT_EQ(Auto(300, 2000, 300, 10, 120), "TILED");
  EXPECT_EQ(Auto(301, 2000, 300, 10, 144), "CENTER");
  EXPECT_EQ(Auto(1280, 1024, 300, 10, 144), "STRETCH");
}

TEST(AutomaticMode, APictureWithoutHeightHasNoMode) {
  EXPECT_FALSE(Choose_Display_Mode(kAuto, {640, 0}, 96, 300, 10).has_value());
  EXPECT_FALSE(Choose_Display_Mode(kAuto, {640, 480}, 0, 300, 10).has_value());
  EXPECT_EQ(Auto(0, 480), "TILED");
  EXPECT_EQ(Auto(0, 480, -1), "CENTER");
}

TEST(DisplayCodes, FixedModesAndUnknownCodes) {
  const PixelSize any{1024, 768};
  EXPECT_EQ(Choose_Display_Mode(1, any, 96, 300, 10), "STRETCH");
  EXPECT_EQ(Choose_Display_Mode(2, any, 96, 300, 10), "CENTER");
  EXPECT_EQ(Choose_Display_Mode(3, any, 96, 300, 10), "TILED");
  EXPECT_EQ(Choose_Display_Mode(2, {10, 0}, 0, 300, 10), "CENTER") << "no arithmetic needed";
  for (int16_t code : {4, 7, -1, 32767}) EXPECT_EQ(Choose_Display_Mode(code, any, 96, 300, 10), "");
}

TEST(Wallpaper, ModeTextsAreComparedExactly) {
  EXPECT_EQ(LayoutForMode("CENTER"), Layout::kCentered);
  EXPECT_EQ(LayoutForMode("TILED"), Layout::kTiled);
  EXPECT_EQ(LayoutForMode("STRETCH"), Layout::kStretched);
  for (const char* other : {"Tiled", "center", "", "TILED ", "STRETCHED"})
    EXPECT_EQ(LayoutForMode(other), Layout::kStretched) << '"' << other << '"';
}

TEST(Wallpaper, DesktopValuesForEachLayout) {
  EXPECT_STREQ(TileWallpaperValue(Layout::kCentered), "0");
  EXPECT_STREQ(WallpaperStyleValue(Layout::kCentered), "0");
  EXPECT_STREQ(TileWallpaperValue(Layout::kTiled), "1");
  EXPECT_STREQ(WallpaperStyleValue(Layout::kTiled), "0");
  EXPECT_STREQ(TileWallpaperValue(Layout::kStretched), "0");
  EXPECT_STREQ(WallpaperStyleValue(Layout::kStretched), "2");
}

class ApplyPictureTest : public ::testing::Test {
 protected:
  ChangeResult Apply(const std::string& path) {
    return Apply_Picture(path, settings_, fake_.platform);
  }

  FakeSystem fake_;
  Settings settings_;
};

TEST_F(ApplyPictureTest, ConvertsDecidesAndSetsTheWallpaper) {
  settings_.iDisplayType = kAuto;
  fake_.pictures.size = PixelSize{200, 200};
  const ChangeResult result = Apply("C:\\P\\small.gif");
  EXPECT_EQ(result.outcome, ChangeOutcome::kApplied);
  EXPECT_EQ(result.mode, "TILED");
  ASSERT_EQ(fake_.pictures.calls.size(), 1u);
  EXPECT_EQ(fake_.pictures.calls[0].first, "C:\\P\\small.gif");
  EXPECT_EQ(fake_.pictures.calls[0].second, "C:\\Vellumo\\vellumo.bmp");
  ASSERT_EQ(fake_.desktop.calls.size(), 1u);
  EXPECT_EQ(fake_.desktop.calls[0].bitmap, "C:\\Vellumo\\vellumo.bmp");
  EXPECT_EQ(fake_.desktop.calls[0].layout, Layout::kTiled);
  // One yield between writing the bitmap and setting it.
  const auto& j = fake_.journal;
  EXPECT_EQ(j.Count("yield"), 1);
  EXPECT_LT(j.Find("convert C:\\P\\small.gif"), j.Find("yield"));
  EXPECT_LT(j.Find("yield"), j.Find("desktop C:\\Vellumo\\vellumo.bmp tiled"));
}

TEST_F(ApplyPictureTest, TheSettingsChooseTheLayout) {
  settings_.iDisplayType = 7;
  EXPECT_EQ(Apply("a.jpg").mode, "");
  settings_.iDisplayType = kCenter;
  EXPECT_EQ(Apply("a.jpg").mode, "CENTER");
  settings_.iDisplayType = kAuto;
  settings_.iAutoSize = 2000;
  EXPECT_EQ(Apply("a.jpg").mode, "TILED");
  ASSERT_EQ(fake_.desktop.calls.size(), 3u);
  EXPECT_EQ(fake_.desktop.calls[0].layout, Layout::kStretched);
  EXPECT_EQ(fake_.desktop.calls[1].layout, Layout::kCentered);
  EXPECT_EQ(fake_.desktop.calls[2].layout, Layout::kTiled);
}

TEST_F(ApplyPictureTest, FailuresLeaveTheDesktopAloneAndNeverThrow) {
  EXPECT_EQ(Apply("").outcome, ChangeOutcome::kNoPicture);
  EXPECT_TRUE(fake_.pictures.calls.empty()) << "nothing to convert for the empty path";

  fake_.pictures.size.reset();
  EXPECT_EQ(Apply("C:\\broken.jpg").outcome, ChangeOutcome::kPictureFailed);

  fake_.pictures.size.reset();
  fake_.pictures.throws = true;
  ChangeResult thrown;
  EXPECT_NO_THROW(thrown = Apply("C:\\evil.gif"));
  EXPECT_EQ(thrown.outcome, ChangeOutcome::kPictureFailed);
  EXPECT_TRUE(fake_.desktop.calls.empty());

  fake_.pictures.throws = false;
  fake_.pictures.size = PixelSize{640, 0};
  EXPECT_EQ(Apply("C:\\flat.bmp").outcome, ChangeOutcome::kPictureFailed);
  EXPECT_TRUE(fake_.desktop.calls.empty()) << "a picture without height is written, not set";
}

TEST_F(ApplyPictureTest, AProgramFolderThatRefusesTheBitmapFallsBackToTheUsersFolder) {
  const std::string beside = fake_.platform.bitmap_path;
  const std::string fallback = fake_.platform.bitmap_fallback_path;
  fake_.pictures.unwritable.insert(beside);
  EXPECT_EQ(Apply("C:\\a.jpg").outcome, ChangeOutcome::kApplied);
  ASSERT_EQ(fake_.pictures.calls.size(), 2u);
  EXPECT_EQ(fake_.pictures.calls[0].second, beside);
  EXPECT_EQ(fake_.pictures.calls[1].second, fallback);
  ASSERT_EQ(fake_.desktop.calls.size(), 1u);
  EXPECT_EQ(fake_.desktop.calls[0].bitmap, fallback);

  // A picture that fails everywhere leaves the desktop alone.
  fake_.pictures.size.reset();
  EXPECT_EQ(Apply("C:\\broken.jpg").outcome, ChangeOutcome::kPictureFailed);
  EXPECT_EQ(fake_.desktop.calls.size(), 1u);
}

// Where each change writes a new file, the desktop is handed that file; once it shows it, the
// files of earlier changes go from both places; when it refuses it, the new one goes.
TEST_F(ApplyPictureTest, AFreshFileIsShownBeforeTheEarlierOnesGo) {
  fake_.pictures.fresh_suffix = ".new";
  const std::string beside = fake_.platform.bitmap_path;
  const std::string fresh = beside + ".new";
  const std::string fallback = fake_.platform.bitmap_fallback_path;
  ASSERT_EQ(Apply("C:\a.jpg").outcome, ChangeOutcome::kApplied);
  ASSERT_EQ(fake_.desktop.calls.size(), 1u);
  EXPECT_EQ(fake_.desktop.calls[0].bitmap, fresh);
  const auto& j = fake_.journal;
  const int shown = j.Find("desktop " + fresh + " stretched");
  EXPECT_LT(shown, j.Find("remove earlier " + beside + " but " + fresh));
  EXPECT_LT(shown, j.Find("remove earlier " + fallback + " but " + fresh));
  EXPECT_EQ(j.Find("discard " + fresh), -1);

  fake_.desktop.succeeds = false;
  EXPECT_EQ(Apply("C:\b.jpg").outcome, ChangeOutcome::kDesktopFailed);
  EXPECT_EQ(j.Count("discard " + fresh), 1);
  EXPECT_EQ(j.Count("remove earlier " + beside + " but " + fresh), 1) << "the shown one stays";

  fake_.pictures.size = PixelSize{640, 0};
  Apply("C:\flat.bmp");
  EXPECT_EQ(j.Count("discard " + fresh), 2) << "written but never shown";
  fake_.pictures.size.reset();
  Apply("C:\broken.jpg");
  EXPECT_EQ(j.Count("discard " + fresh), 2) << "nothing written, nothing to discard";
}

TEST_F(ApplyPictureTest, ADesktopThatRefusesIsReported) {
  fake_.desktop.succeeds = false;
  const ChangeResult result = Apply("C:\\a.jpg");
  EXPECT_EQ(result.outcome, ChangeOutcome::kDesktopFailed);
  EXPECT_EQ(result.mode, "STRETCH");
  EXPECT_EQ(result.detail, "no desktop");
}

}  // namespace
}  // namespace vellumo
