// The pure rules of the Linux desktop back-ends: which desktop is which, file URIs and their
// alternate spelling, GVariant text, the placement of a picture on the root window and the
// packing of pixels.
#include <gtest/gtest.h>

#include <algorithm>

#include "desktop_family.h"
#include "file_uri.h"
#include "pixel_packer.h"
#include "root_raster.h"

namespace vellumo {
namespace {

TEST(DesktopFamilyTest, ReadsTheColonSeparatedListWithoutRegardToCase) {
  EXPECT_EQ(DesktopFamilyOf("GNOME"), DesktopFamily::kGnome);
  EXPECT_EQ(DesktopFamilyOf("ubuntu:GNOME"), DesktopFamily::kGnome);
  EXPECT_EQ(DesktopFamilyOf("Budgie:GNOME"), DesktopFamily::kGnome);
  EXPECT_EQ(DesktopFamilyOf("Unity"), DesktopFamily::kGnome);
  EXPECT_EQ(DesktopFamilyOf("Pantheon"), DesktopFamily::kGnome);
  EXPECT_EQ(DesktopFamilyOf("gnome-flashback:GNOME"), DesktopFamily::kGnome);
  EXPECT_EQ(DesktopFamilyOf("X-Cinnamon"), DesktopFamily::kCinnamon);
  EXPECT_EQ(DesktopFamilyOf("mate"), DesktopFamily::kMate);
  EXPECT_EQ(DesktopFamilyOf("KDE"), DesktopFamily::kUnknown);
  EXPECT_EQ(DesktopFamilyOf("XFCE"), DesktopFamily::kUnknown);
  EXPECT_EQ(DesktopFamilyOf(""), DesktopFamily::kUnknown);
  EXPECT_EQ(DesktopFamilyOf("::"), DesktopFamily::kUnknown);
  EXPECT_EQ(DesktopFamilyOf("GNOMEish"), DesktopFamily::kUnknown);
  EXPECT_EQ(DesktopFamilyOf("KDE:MATE"), DesktopFamily::kMate);
}

TEST(FileUriTest, EncodesEverythingOutsideTheUnreservedSetAndSlash) {
  EXPECT_EQ(FileUri("/home/ann/vellumo.bmp"), "file:///home/ann/vellumo.bmp");
  EXPECT_EQ(FileUri("/a b/#1/100%/x+y=z?&;'\"$`\\"),
            "file:///a%20b/%231/100%25/x%2By%3Dz%3F%26%3B%27%22%24%60%5C");
  EXPECT_EQ(FileUri("/été/壁紙.bmp"), "file:///%C3%A9t%C3%A9/%E5%A3%81%E7%B4%99.bmp");
  EXPECT_EQ(FileUri("/a-b_c.d~e/F0"), "file:///a-b_c.d~e/F0");
}

TEST(FileUriTest, AlternateSpellingDiffersButNamesTheSameFile) {
  EXPECT_EQ(AlternateFileUri("/x/vellumo.bmp"), "file:///x/%76ellumo.bmp");
  // A first byte that is escaped anyway changes the letter case of its digits.
  EXPECT_EQ(AlternateFileUri("/x/été.bmp"), "file:///x/%c3%A9t%C3%A9.bmp");
  // '#' escapes to "%23" in either case: the next byte is respelled instead.
  EXPECT_EQ(AlternateFileUri("/x/#a"), "file:///x/%23%61");
  EXPECT_EQ(AlternateFileUri("/x/#%"), "file:///x/./%23%25");
  EXPECT_EQ(AlternatePath("/x/vellumo.bmp"), "/x/./vellumo.bmp");
}

TEST(GVariantTextTest, QuotesAndReadsBack) {
  EXPECT_EQ(QuoteGVariantString("stretched"), "'stretched'");
  EXPECT_EQ(QuoteGVariantString("it's a\\b\n"), "'it\\'s a\\\\b\\n'");
  for (std::string text : {"", "file:///x/%76ellumo.bmp", "/it's \"$HOME\"\\/壁紙\t"}) {
    EXPECT_EQ(ParseGVariantString(QuoteGVariantString(text) + "\n"), text);
  }
  // gsettings prints a string holding a single quote between double quotes.
  EXPECT_EQ(ParseGVariantString("\"it's\"\n"), "it's");
  EXPECT_EQ(ParseGVariantString("'caf\\u00e9 \\U0001F600'"), "café \xF0\x9F\x98\x80");
  EXPECT_EQ(ParseGVariantString("''"), "");
  EXPECT_FALSE(ParseGVariantString(""));
  EXPECT_FALSE(ParseGVariantString("@as []"));
  EXPECT_FALSE(ParseGVariantString("'a'b'"));
  EXPECT_FALSE(ParseGVariantString("'\\u12'"));
}

// Every pixmap row is covered exactly once, in order, whatever the scale.
TEST(RootRasterTest, StretchCoversEveryRowOnce) {
  for (PixelSize picture : {PixelSize{2, 2}, PixelSize{400, 300}, PixelSize{6000, 4000},
                            PixelSize{1, 7}, PixelSize{320, 240}}) {
    RootRaster raster(picture, {320, 240}, Layout::kStretched);
    EXPECT_EQ(raster.pixmap_size().width, 320);
    EXPECT_EQ(raster.pixmap_size().height, 240);
    EXPECT_FALSE(raster.needs_fill());
    int next = 0;
    for (int y = 0; y < picture.height; ++y) {
      RootRaster::Rows rows = raster.TargetRows(y);
      if (rows.count == 0) continue;
      EXPECT_EQ(rows.first, next) << picture.width << "x" << picture.height << " row " << y;
      next = rows.first + rows.count;
    }
    EXPECT_EQ(next, 240);
    ASSERT_EQ(raster.source_columns().size(), 320u);
    EXPECT_GE(raster.source_columns().front(), 0);
    EXPECT_LT(raster.source_columns().back(), picture.width);
    EXPECT_TRUE(std::is_sorted(raster.source_columns().begin(), raster.source_columns().end()));
  }
  RootRaster doubled({2, 2}, {4, 4}, Layout::kStretched);
  EXPECT_EQ(doubled.TargetRows(1).first, 2);
  EXPECT_EQ(doubled.TargetRows(1).count, 2);
  EXPECT_EQ(doubled.source_columns(), (std::vector<int>{0, 0, 1, 1}));
}

TEST(RootRasterTest, CentreBordersASmallPictureAndCropsALargeOne) {
  RootRaster small({40, 30}, {320, 240}, Layout::kCentered);
  EXPECT_TRUE(small.needs_fill());
  EXPECT_EQ(small.TargetRows(0).first, 105);
  EXPECT_EQ(small.TargetRows(29).first, 134);
  EXPECT_EQ(small.first_column(), 140);
  EXPECT_EQ(small.source_columns().size(), 40u);
  EXPECT_EQ(small.source_columns().front(), 0);

  RootRaster large({400, 300}, {320, 240}, Layout::kCentered);
  EXPECT_FALSE(large.needs_fill());
  EXPECT_EQ(large.TargetRows(29).count, 0);
  EXPECT_EQ(large.TargetRows(30).first, 0);
  EXPECT_EQ(large.TargetRows(269).first, 239);
  EXPECT_EQ(large.TargetRows(270).count, 0);
  EXPECT_EQ(large.first_column(), 0);
  ASSERT_EQ(large.source_columns().size(), 320u);
  EXPECT_EQ(large.source_columns().front(), 40);

  // Wider than the screen but shorter: cropped sideways, bordered above and below.
  RootRaster wide({400, 100}, {320, 240}, Layout::kCentered);
  EXPECT_TRUE(wide.needs_fill());
  EXPECT_EQ(wide.TargetRows(0).first, 70);
}

TEST(RootRasterTest, TileKeepsThePictureAsItIs) {
  RootRaster tile({3, 2}, {320, 240}, Layout::kTiled);
  EXPECT_EQ(tile.pixmap_size().width, 3);
  EXPECT_EQ(tile.pixmap_size().height, 2);
  EXPECT_FALSE(tile.needs_fill());
  EXPECT_EQ(tile.TargetRows(1).first, 1);
  EXPECT_EQ(tile.TargetRows(2).count, 0);
  EXPECT_EQ(tile.source_columns(), (std::vector<int>{0, 1, 2}));

  // Only the first tile shows where the picture is larger than the screen: the pixmap is cut
  // to the screen in that direction and kept whole in the other.
  RootRaster wide({400, 100}, {320, 240}, Layout::kTiled);
  EXPECT_EQ(wide.pixmap_size().width, 320);
  EXPECT_EQ(wide.pixmap_size().height, 100);
  EXPECT_EQ(wide.source_columns().size(), 320u);
  EXPECT_EQ(wide.TargetRows(99).first, 99);

  RootRaster huge({100000, 50000}, {320, 240}, Layout::kTiled);
  EXPECT_TRUE(huge.fits()) << "larger than any pixmap, but only a screen of it is kept";
  EXPECT_EQ(huge.source_columns().size(), 320u);
  EXPECT_EQ(huge.TargetRows(239).count, 1);
  EXPECT_EQ(huge.TargetRows(240).count, 0);

  RootRaster empty({0, 5}, {320, 240}, Layout::kTiled);
  EXPECT_FALSE(empty.fits());
  EXPECT_TRUE(empty.source_columns().empty());
}

TEST(PixelPackerTest, FollowsTheChannelMasks) {
  PixelPacker rgb(0xFF0000, 0xFF00, 0xFF);
  EXPECT_EQ(rgb.Pack(0x12, 0x34, 0x56), 0x123456u);
  PixelPacker bgr(0xFF, 0xFF00, 0xFF0000);
  EXPECT_EQ(bgr.Pack(0x12, 0x34, 0x56), 0x563412u);
  PixelPacker rgb565(0xF800, 0x07E0, 0x001F);
  EXPECT_EQ(rgb565.Pack(255, 0, 0), 0xF800u);
  EXPECT_EQ(rgb565.Pack(0, 255, 0), 0x07E0u);
  EXPECT_EQ(rgb565.Pack(0, 0, 255), 0x001Fu);
  EXPECT_EQ(rgb565.Pack(255, 255, 255), 0xFFFFu);
  EXPECT_EQ(rgb565.Pack(0, 0, 0), 0u);
  PixelPacker deep(0x3FF00000, 0xFFC00, 0x3FF);
  EXPECT_EQ(deep.Pack(255, 0, 255), 0x3FF003FFu);
  EXPECT_EQ(deep.Pack(0, 128, 0), 514u << 10);
}

}  // namespace
}  // namespace vellumo
