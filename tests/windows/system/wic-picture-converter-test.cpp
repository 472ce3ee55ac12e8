#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "test_folder.h"
#include "test_pictures.h"
#include "wic_picture_converter.h"

namespace vellumo {
namespace {

using test::kBlue;
using test::kGreen;
using test::kRed;
using test::kWhite;
using test::Picture;
using test::Quadrants;
using test::Rgb;

// Every pixel different, so a swapped, shifted or mirrored row shows.
Rgb Gradient(int x, int y) {
  return {static_cast<uint8_t>(x * 40), static_cast<uint8_t>(y), static_cast<uint8_t>(255 - y)};
}

bool Near(Rgb a, Rgb b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

class WicPictureConverterTest : public ::testing::Test {
 protected:
  Picture ConvertAndRead(const std::string& picture, int width, int height) {
    const auto size = converter_.ConvertToBitmap(picture, target_);
    EXPECT_TRUE(size.has_value()) << picture;
    if (!size) return {};
    EXPECT_EQ(size->width, width);
    EXPECT_EQ(size->height, height);
    const auto parsed = test::ParseBmp24(test::ReadAll(target_));
    EXPECT_TRUE(parsed) << "not a complete 24-bit bitmap";
    const Picture bitmap = parsed.value_or(Picture{});
    EXPECT_EQ(bitmap.width, width);
    EXPECT_EQ(bitmap.height, height);
    return bitmap;
  }

  // The converter must refuse the picture and leave the old bitmap and the folder as they were.
  void ExpectRefused(const std::string& picture) {
    const std::string old_bitmap = "the previous wallpaper bitmap";
    folder_.AddFile("vellumo.bmp", old_bitmap);
    const auto names = folder_.Names();
    EXPECT_EQ(converter_.ConvertToBitmap(picture, target_), std::nullopt) << picture;
    EXPECT_EQ(test::ReadAll(target_), old_bitmap);
    EXPECT_EQ(folder_.Names(), names) << "a temporary file was left behind";
  }

  test::ComApartment com_;
  test::TestFolder folder_;
  std::string target_ = folder_ / "vellumo.bmp";
  WicPictureConverter converter_;
};

TEST_F(WicPictureConverterTest, BitmapComesOutPixelForPixel) {
  // Odd width (row padding) and more rows than one copied strip.
  constexpr int kWidth = 5, kHeight = 150;
  const auto source = folder_.AddFile("source.bmp", test::Bmp24(kWidth, kHeight, Gradient));
  const Picture bitmap = ConvertAndRead(source, kWidth, kHeight);
  ASSERT_EQ(bitmap.pixels.size(), static_cast<size_t>(kWidth * kHeight));
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const Rgb want = Gradient(x, y), got = bitmap.At(x, y);
      ASSERT_TRUE(Near(got, want, 0)) << "pixel " << x << "," << y;
    }
}

TEST_F(WicPictureConverterTest, JpegComesOutWithinTolerance) {
  constexpr int kWidth = 64, kHeight = 48;
  const std::string source = folder_ / "海の写真.jpg";
  ASSERT_TRUE(test::EncodeJpeg(source, kWidth, kHeight,
                               [](int x, int y) { return Quadrants(x, y, kWidth, kHeight); }));
  const Picture bitmap = ConvertAndRead(source, kWidth, kHeight);
  ASSERT_FALSE(bitmap.pixels.empty());
  for (const auto& [x, y] : {std::pair{8, 8}, {56, 8}, {8, 40}, {56, 40}, {20, 16}, {44, 32}})
    EXPECT_TRUE(Near(bitmap.At(x, y), Quadrants(x, y, kWidth, kHeight), 48))
        << "pixel " << x << "," << y;
}

TEST_F(WicPictureConverterTest, GifComesOutWithItsPaletteColours) {
  constexpr int kWidth = 10, kHeight = 7;
  const auto pixel = [](int x, int y) { return Quadrants(x, y, kWidth, kHeight); };
  const std::string source = folder_ / "anim.gif";
  ASSERT_TRUE(test::EncodeGif(source, kWidth, kHeight, {kRed, kGreen, kBlue, kWhite}, pixel));
  const Picture bitmap = ConvertAndRead(source, kWidth, kHeight);
  ASSERT_EQ(bitmap.pixels.size(), static_cast<size_t>(kWidth * kHeight));
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      ASSERT_TRUE(Near(bitmap.At(x, y), pixel(x, y), 0)) << "pixel " << x << "," << y;
}

TEST_F(WicPictureConverterTest, ReplacesTheOldBitmapAndLeavesNoTemporaryFile) {
  folder_.AddFile("vellumo.bmp", "old");
  const auto source = folder_.AddFile("a.bmp", test::Bmp24(3, 2, Gradient));
  ASSERT_TRUE(converter_.ConvertToBitmap(source, target_).has_value());
  EXPECT_EQ(test::ReadAll(target_).size(), 54u + 2 * 12);
  EXPECT_EQ(folder_.Names(), (std::vector<std::string>{"a.bmp", "vellumo.bmp"}));
}

TEST_F(WicPictureConverterTest, WritesIntoFoldersOfAnyNameAndOverItsOwnSource) {
  const std::string folder = folder_.AddFolder("壁紙");
  const std::string target = folder + "\\vellumo.bmp";
  const auto source = folder_.AddFile("a.bmp", test::Bmp24(3, 2, Gradient));
  ASSERT_TRUE(converter_.ConvertToBitmap(source, target).has_value());
  const std::string first = test::ReadAll(target);
  // The bitmap picked from its own folder as the next picture: converted onto itself.
  ASSERT_TRUE(converter_.ConvertToBitmap(target, target).has_value());
  EXPECT_EQ(test::ReadAll(target), first);
}

TEST_F(WicPictureConverterTest, RefusesWhatIsNoPicture) {
  ExpectRefused(folder_.AddFile("empty.jpg", ""));
  ExpectRefused(folder_.AddFile("text.gif", "this is only text, not a picture\r\n"));
  ExpectRefused(folder_ / "missing.bmp");
  ExpectRefused("");
}

TEST_F(WicPictureConverterTest, RefusesTruncatedPictures) {
  const std::string bmp = test::Bmp24(40, 40, Gradient);
  ExpectRefused(folder_.AddFile("cut.bmp", bmp.substr(0, bmp.size() / 2)));
  ExpectRefused(folder_.AddFile("headers-only.bmp", bmp.substr(0, 54)));

  const std::string jpeg = folder_ / "whole.jpg";
  ASSERT_TRUE(test::EncodeJpeg(jpeg, 64, 48, Gradient));
  const std::string bytes = test::ReadAll(jpeg);
  ExpectRefused(folder_.AddFile("cut.jpg", bytes.substr(0, bytes.size() / 3)));
  const std::string gif = folder_ / "whole.gif";
  ASSERT_TRUE(test::EncodeGif(gif, 64, 48, {kRed, kBlue}, Gradient));
  const std::string gif_bytes = test::ReadAll(gif);
  ExpectRefused(folder_.AddFile("cut.gif", gif_bytes.substr(0, gif_bytes.size() / 3)));
}

TEST_F(WicPictureConverterTest, RefusesAnAbsurdSizeBeforeWritingAnything) {
  ExpectRefused(folder_.AddFile("huge.bmp", test::Bmp24Headers(100000, 100000, 64)));
}

TEST_F(WicPictureConverterTest, UnwritableTargetChangesNothing) {
  const auto source = folder_.AddFile("a.bmp", test::Bmp24(3, 2, Gradient));
  const auto names = folder_.Names();
  EXPECT_EQ(converter_.ConvertToBitmap(source, folder_ / "missing\\vellumo.bmp"), std::nullopt);
  EXPECT_EQ(folder_.Names(), names);
}

}  // namespace
}  // namespace vellumo
