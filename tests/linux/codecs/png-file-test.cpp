// The PNG writer checked by libpng, and the reader the X root window uses.
#include "png_file.h"

#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <numeric>
#include <random>

#include "bmp_builder.h"
#include "picture_decoder.h"
#include "png_pixels.h"
#include "test_pictures.h"

namespace vellumo::test {
namespace {

// Every pixel different from its neighbours and from the rows above and below.
Picture Pattern(int width, int height) {
  Picture picture{width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      picture.pixels.push_back({static_cast<uint8_t>(x * 7 + y), static_cast<uint8_t>(x >> 3),
                                static_cast<uint8_t>(y * 31 + (x >> 11))});
  return picture;
}

std::vector<uint8_t> BgrRow(const Picture& picture, int y) {
  std::vector<uint8_t> row;
  for (int x = 0; x < picture.width; ++x) {
    const Rgb p = picture.At(x, y);
    row.insert(row.end(), {p.b, p.g, p.r});
  }
  return row;
}

bool WriteRows(const std::string& path, const Picture& picture, const std::vector<int>& order) {
  PngFile file;
  if (!file.Open(path, picture.width, picture.height)) return false;
  for (int y : order)
    if (!file.WriteRow(y, BgrRow(picture, y))) return false;
  return file.Close();
}

std::vector<int> Rows(int height, bool bottom_up) {
  std::vector<int> order(height);
  std::iota(order.begin(), order.end(), 0);
  if (bottom_up) std::reverse(order.begin(), order.end());
  return order;
}

TEST(PngFile, RowsInAnyOrderGiveTheSameValidFile) {
  TempFolder folder;
  const Picture picture = Pattern(37, 23);
  ASSERT_TRUE(WriteRows(folder / "down.png", picture, Rows(23, false)));
  ASSERT_TRUE(WriteRows(folder / "up.png", picture, Rows(23, true)));
  std::vector<int> shuffled = Rows(23, false);
  std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(5));
  ASSERT_TRUE(WriteRows(folder / "shuffled.png", picture, shuffled));

  const auto read = ReadPng(folder / "down.png");
  ASSERT_TRUE(read.has_value()) << "libpng refused the file";
  EXPECT_EQ(read->width, 37);
  EXPECT_EQ(read->height, 23);
  EXPECT_EQ(read->pixels, picture.pixels);
  EXPECT_EQ(ReadBytes(folder / "up.png"), ReadBytes(folder / "down.png"));
  EXPECT_EQ(ReadBytes(folder / "shuffled.png"), ReadBytes(folder / "down.png"));
}

// A stored block holds at most 65535 bytes, and a row is one filter byte and three bytes a
// pixel: 21844 pixels fill one block all but two bytes, 21845 need a second block for one
// byte, 43690 make two full blocks and one byte.
TEST(PngFile, RowsWiderThanOneBlockAreSplit) {
  TempFolder folder;
  for (int width : {21844, 21845, 43690}) {
    const Picture picture = Pattern(width, 3);
    const std::string path = folder / (std::to_string(width) + ".png");
    ASSERT_TRUE(WriteRows(path, picture, Rows(3, true))) << width;
    const auto read = ReadPng(path);
    ASSERT_TRUE(read.has_value()) << width;
    EXPECT_EQ(read->pixels, picture.pixels) << width;
  }
}

TEST(PngFile, RefusesRowsOutsideOrTwiceAndAnIncompleteFile) {
  TempFolder folder;
  const Picture picture = Pattern(4, 3);
  PngFile file;
  ASSERT_TRUE(file.Open(folder / "a.png", 4, 3));
  EXPECT_FALSE(file.WriteRow(-1, BgrRow(picture, 0)));
  EXPECT_FALSE(file.WriteRow(3, BgrRow(picture, 0)));
  EXPECT_FALSE(file.WriteRow(0, std::vector<uint8_t>(11))) << "a row too short";
  EXPECT_TRUE(file.WriteRow(1, BgrRow(picture, 1)));
  EXPECT_FALSE(file.WriteRow(1, BgrRow(picture, 1)));
  EXPECT_FALSE(file.Close()) << "rows 0 and 2 are missing";

  EXPECT_FALSE(file.Open(folder / "missing/a.png", 4, 3));
  EXPECT_FALSE(file.Open(folder / "b.png", 0, 3));
  EXPECT_FALSE(file.Open(folder / "c.png", 100000, 100000));
  EXPECT_FALSE(std::filesystem::exists(folder / "c.png")) << "refused before creating it";
}

// What the X root window is handed: our PNG, any other PNG libpng writes, or a source picture.
TEST(DecodeWallpaper, ReadsOurPngOtherPngsAndSourcePictures) {
  TempFolder folder;
  const Picture picture = Pattern(9, 5);
  ASSERT_TRUE(WriteRows(folder / "ours.png", picture, Rows(5, true)));
  Decoded decoded = Decode(folder / "ours.png", DecodeWallpaper);
  ASSERT_TRUE(decoded.size.has_value());
  EXPECT_TRUE(decoded.rows_once);
  EXPECT_EQ(decoded.picture.pixels, picture.pixels);

  Picture grey = picture;
  for (Rgb& p : grey.pixels) p = {p.r, p.r, p.r};
  for (unsigned format : {PNG_FORMAT_RGBA, PNG_FORMAT_GA}) {
    WritePng(folder / "other.png", format == PNG_FORMAT_GA ? grey : picture, format);
    decoded = Decode(folder / "other.png", DecodeWallpaper);
    EXPECT_EQ(decoded.picture.pixels, format == PNG_FORMAT_GA ? grey.pixels : picture.pixels)
        << format;
  }
  WriteFile(folder / "six.bmp", BuildBmp(SixColours(), {}));
  EXPECT_EQ(Decode(folder / "six.bmp", DecodeWallpaper).picture.pixels, SixColours().pixels);
}

TEST(DecodeWallpaper, RefusesADamagedPng) {
  TempFolder folder;
  ASSERT_TRUE(WriteRows(folder / "a.png", Pattern(9, 5), Rows(5, false)));
  std::vector<uint8_t> bytes = ReadBytes(folder / "a.png");
  for (size_t at : {size_t{64}, bytes.size() - 20}) {  // a pixel; the Adler-32
    std::vector<uint8_t> damaged = bytes;
    damaged[at] ^= 0x01;
    WriteFile(folder / "bad.png", damaged);
    EXPECT_FALSE(Decode(folder / "bad.png", DecodeWallpaper).size.has_value()) << at;
  }
  bytes.resize(bytes.size() / 2);
  WriteFile(folder / "cut.png", bytes);
  EXPECT_FALSE(Decode(folder / "cut.png", DecodeWallpaper).size.has_value());
}

}  // namespace
}  // namespace vellumo::test
