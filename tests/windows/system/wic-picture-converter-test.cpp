#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "long_path.h"
#include "system_message.h"
#include "test_folder.h"
#include "test_pictures.h"
#include "utf.h"
#include "wic_picture_converter.h"
#include "win_file_system.h"

namespace vellumo {
namespace {

using test::kBlack;
using test::kBlue;
using test::kGreen;
using test::kRed;
using test::kWhite;
using test::kYellow;
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

// A GIF written byte by byte, so that the screen, the frame's place and its transparency are
// exactly as a test wants them: one frame, pixels as palette indices.
struct GifFrame {
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<uint8_t> indices;  // row by row
  int transparent = -1;          // the transparent index, if any
  std::vector<Rgb> local;        // a local colour table, if any
};

void PutWord(std::string& out, int value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8);
}

// The size bits of a table of `colours` (a power of two from 2 to 256), and the table itself.
int TableBits(size_t colours) {
  int bits = 0;
  while ((size_t{2} << bits) < colours) ++bits;
  return bits;
}

void PutTable(std::string& out, const std::vector<Rgb>& colours) {
  for (const Rgb& c : colours)
    out += {static_cast<char>(c.r), static_cast<char>(c.g), static_cast<char>(c.b)};
}

// LZW without compression: 9-bit codes, one per pixel, with a clear code often enough that the
// decoder's table never grows to 10-bit codes.
std::string LzwCodes(const std::vector<uint8_t>& indices) {
  constexpr uint32_t kClear = 256, kEnd = 257;
  std::string bytes;
  uint32_t pending = 0;
  int bits = 0;
  const auto put = [&](uint32_t code) {
    pending |= code << bits;
    for (bits += 9; bits >= 8; bits -= 8, pending >>= 8) bytes += static_cast<char>(pending & 0xFF);
  };
  for (size_t i = 0; i < indices.size(); ++i) {
    if (i % 64 == 0) put(kClear);
    put(indices[i]);
  }
  put(kEnd);
  if (bits > 0) bytes += static_cast<char>(pending & 0xFF);
  return bytes;
}

std::string HandMadeGif(int width, int height, const std::vector<Rgb>& global, int background,
                        const GifFrame& frame) {
  std::string out = "GIF89a";
  PutWord(out, width);
  PutWord(out, height);
  out += static_cast<char>(global.empty() ? 0 : 0x80 | TableBits(global.size()));
  out += {static_cast<char>(background), 0};
  PutTable(out, global);
  if (frame.transparent >= 0) {
    out += {'\x21', '\xF9', 4, 1, 0, 0, static_cast<char>(frame.transparent), 0};
  }
  out += '\x2C';
  for (const int value : {frame.left, frame.top, frame.width, frame.height}) PutWord(out, value);
  out += static_cast<char>(frame.local.empty() ? 0 : 0x80 | TableBits(frame.local.size()));
  PutTable(out, frame.local);
  out += '\x08';  // minimum code size: 9-bit codes
  const std::string codes = LzwCodes(frame.indices);
  for (size_t at = 0; at < codes.size(); at += 255) {
    const std::string block = codes.substr(at, 255);
    out += static_cast<char>(block.size());
    out += block;
  }
  out += {'\0', '\x3B'};
  return out;
}

class WicPictureConverterTest : public ::testing::Test {
 protected:
  Picture ConvertAndRead(const std::string& picture, int width, int height) {
    const auto written = converter_.ConvertToBitmap(picture, target_);
    EXPECT_TRUE(written.has_value()) << picture;
    if (!written) return {};
    EXPECT_EQ(written->size.width, width);
    EXPECT_EQ(written->size.height, height);
    EXPECT_EQ(written->path, target_) << "rewritten in place";
    const auto parsed = test::ParseBmp24(test::ReadAll(target_));
    EXPECT_TRUE(parsed) << "not a complete 24-bit bitmap";
    const Picture bitmap = parsed.value_or(Picture{});
    EXPECT_EQ(bitmap.width, width);
    EXPECT_EQ(bitmap.height, height);
    return bitmap;
  }

  // The converter must refuse the picture, blame it for the reason given, and leave the old
  // bitmap and the folder as they were.
  void ExpectRefused(const std::string& picture, const std::string& reason) {
    const std::string old_bitmap = "the previous wallpaper bitmap";
    folder_.AddFile("vellumo.bmp", old_bitmap);
    const auto names = folder_.Names();
    ConversionFailure failure;
    EXPECT_EQ(converter_.ConvertToBitmap(picture, target_, failure), std::nullopt) << picture;
    EXPECT_TRUE(failure.picture_at_fault) << picture;
    EXPECT_EQ(failure.reason, reason) << picture;
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

TEST_F(WicPictureConverterTest, PhotoTurnedByItsOrientationComesOutUpright) {
  constexpr int kWidth = 64, kHeight = 48;
  const std::string stored = folder_ / "stored.jpg";
  ASSERT_TRUE(test::EncodeJpeg(stored, kWidth, kHeight,
                               [](int x, int y) { return Quadrants(x, y, kWidth, kHeight); }));
  // 6: to be turned a quarter clockwise, so the stored left column becomes the top row.
  const auto source = folder_.AddFile("photo.jpg", test::WithOrientation(test::ReadAll(stored), 6));
  const Picture bitmap = ConvertAndRead(source, kHeight, kWidth);
  ASSERT_FALSE(bitmap.pixels.empty());
  EXPECT_TRUE(Near(bitmap.At(12, 16), test::kBlue, 48));
  EXPECT_TRUE(Near(bitmap.At(36, 16), test::kRed, 48));
  EXPECT_TRUE(Near(bitmap.At(12, 48), test::kWhite, 48));
  EXPECT_TRUE(Near(bitmap.At(36, 48), test::kGreen, 48));
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

TEST_F(WicPictureConverterTest, GifFrameSitsAtItsOffsetOnTheBackgroundOfTheScreen) {
  // Index 3 is transparent: the background shows there, not white.
  const std::vector<Rgb> global{kRed, kGreen, kYellow, kWhite, kBlue, kBlack, kBlack, kBlack};
  GifFrame frame{3, 2, 5, 4, {}, 3, {}};
  for (int i = 0; i < frame.width * frame.height; ++i)
    frame.indices.push_back(static_cast<uint8_t>((i % frame.width + i / frame.width) % 4));
  const auto source = folder_.AddFile("offset.gif", HandMadeGif(12, 9, global, 4, frame));

  const Picture bitmap = ConvertAndRead(source, 12, 9);
  ASSERT_EQ(bitmap.pixels.size(), size_t{12 * 9});
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 12; ++x) {
      const int fx = x - frame.left, fy = y - frame.top;
      const bool in_frame = fx >= 0 && fx < frame.width && fy >= 0 && fy < frame.height;
      const int index = in_frame ? (fx + fy) % 4 : 3;
      const Rgb want = index == 3 ? kBlue : global[index];
      ASSERT_TRUE(Near(bitmap.At(x, y), want, 0)) << "pixel " << x << "," << y;
    }
}

TEST_F(WicPictureConverterTest, GifFrameBeyondTheScreenIsCutAndNoGlobalTableMeansBlack) {
  GifFrame frame{4, 3, 4, 4, std::vector<uint8_t>(16, 1), -1, {kRed, kGreen}};
  frame.indices[0] = 0;  // the frame's top-left pixel, on the screen
  const auto source = folder_.AddFile("clipped.gif", HandMadeGif(6, 5, {}, 1, frame));

  const Picture bitmap = ConvertAndRead(source, 6, 5);
  ASSERT_EQ(bitmap.pixels.size(), size_t{6 * 5});
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) {
      const Rgb want = x < 4 || y < 3 ? kBlack : (x == 4 && y == 3 ? kRed : kGreen);
      ASSERT_TRUE(Near(bitmap.At(x, y), want, 0)) << "pixel " << x << "," << y;
    }
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

TEST_F(WicPictureConverterTest, ConvertsInAFolderTreeDeeperThanMaxPath) {
  std::string deep = folder_.path();
  while (deep.size() <= MAX_PATH) {
    deep += "\\" + std::string(60, 'd');
    ASSERT_TRUE(CreateDirectoryW(LongPathForm(Widen(deep)).c_str(), nullptr));
  }
  const auto extended = [](const std::string& path) { return Narrow(LongPathForm(Widen(path))); };
  test::WriteAll(extended(deep + "\\a.bmp"), test::Bmp24(3, 2, Gradient));
  const std::string target = deep + "\\vellumo.bmp";

  const auto size = converter_.ConvertToBitmap(deep + "\\a.bmp", target);
  ASSERT_TRUE(size.has_value());
  EXPECT_EQ(test::ParseBmp24(test::ReadAll(extended(target))).value_or(Picture{}).width, 3);
  std::vector<DirEntry> entries;
  ASSERT_TRUE(WinFileSystem().List(deep, entries));
  EXPECT_EQ(entries.size(), 2u) << "a partial file was left behind";
}

// In the system's words where it has them, in ours (as on Linux) for what is no picture.
TEST_F(WicPictureConverterTest, RefusesWhatIsNoPicture) {
  ExpectRefused(folder_.AddFile("empty.jpg", ""), "empty file");
  ExpectRefused(folder_.AddFile("text.gif", "this is only text, not a picture\r\n"),
                "not a picture (BMP, JPEG or GIF)");
  ExpectRefused(folder_ / "missing.bmp", SystemMessage(ERROR_FILE_NOT_FOUND));
  ExpectRefused(folder_.AddFolder("folder.jpg"), SystemMessage(ERROR_ACCESS_DENIED));
  ExpectRefused("", "no file named");
}

TEST_F(WicPictureConverterTest, RefusesTruncatedAndDamagedPictures) {
  const std::string bmp = test::Bmp24(40, 40, Gradient);
  ExpectRefused(folder_.AddFile("cut.bmp", bmp.substr(0, bmp.size() / 2)), "cut short");
  ExpectRefused(folder_.AddFile("headers-only.bmp", bmp.substr(0, 54)), "cut short");
  std::string damaged = bmp;
  damaged[14] = '\xFF';  // the size of the info header: no format has one like it
  ExpectRefused(folder_.AddFile("damaged.bmp", damaged), "damaged or too large");

  const std::string jpeg = folder_ / "whole.jpg";
  ASSERT_TRUE(test::EncodeJpeg(jpeg, 64, 48, Gradient));
  const std::string bytes = test::ReadAll(jpeg);
  ExpectRefused(folder_.AddFile("cut.jpg", bytes.substr(0, bytes.size() / 3)), "cut short");
  const std::string gif = folder_ / "whole.gif";
  ASSERT_TRUE(test::EncodeGif(gif, 64, 48, {kRed, kBlue}, Gradient));
  const std::string gif_bytes = test::ReadAll(gif);
  ExpectRefused(folder_.AddFile("cut.gif", gif_bytes.substr(0, gif_bytes.size() / 3)), "cut short");
}

TEST_F(WicPictureConverterTest, RefusesAnAbsurdSizeBeforeWritingAnything) {
  ExpectRefused(folder_.AddFile("huge.bmp", test::Bmp24Headers(100000, 100000, 64)),
                "damaged or too large");
}

// No picture mends a place that refuses the bitmap: the failure says so, in the system's words.
TEST_F(WicPictureConverterTest, UnwritableTargetChangesNothingAndIsNotThePicturesFault) {
  const auto source = folder_.AddFile("a.bmp", test::Bmp24(3, 2, Gradient));
  folder_.AddFolder("vellumo.bmp");  // the partial file is made, the move over it fails
  const auto names = folder_.Names();
  ConversionFailure failure;
  EXPECT_EQ(converter_.ConvertToBitmap(source, folder_ / "missing\\vellumo.bmp", failure),
            std::nullopt);
  EXPECT_FALSE(failure.picture_at_fault);
  EXPECT_EQ(failure.reason, SystemMessage(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(converter_.ConvertToBitmap(source, target_, failure), std::nullopt);
  EXPECT_FALSE(failure.picture_at_fault);
  EXPECT_EQ(failure.reason, SystemMessage(ERROR_ACCESS_DENIED));
  EXPECT_EQ(folder_.Names(), names);
  // A phrase to put after a colon, as the system has it for this language.
  EXPECT_FALSE(failure.reason.empty());
  EXPECT_EQ(failure.reason.find_last_of(".\r\n"), std::string::npos);
}

// Only the host can mount the small file system this needs: full-disk-test.sh runs it with
// VELLUMO_FULL_DISK naming one of 64 KiB.
TEST_F(WicPictureConverterTest, AFullDiskIsToldAsSuch) {
  const char* tiny = std::getenv("VELLUMO_FULL_DISK");
  if (!tiny || !*tiny) GTEST_SKIP() << "run by full-disk-test.sh";
  const auto source = folder_.AddFile("big.bmp", test::Bmp24(200, 200, Gradient));
  ConversionFailure failure;
  EXPECT_EQ(converter_.ConvertToBitmap(source, std::string(tiny) + "\\vellumo.bmp", failure),
            std::nullopt);
  EXPECT_FALSE(failure.picture_at_fault);
  EXPECT_EQ(failure.reason, SystemMessage(ERROR_DISK_FULL));
  std::vector<DirEntry> left;
  ASSERT_TRUE(WinFileSystem().List(tiny, left));
  EXPECT_TRUE(left.empty()) << "a partial file was left behind";
}

}  // namespace
}  // namespace vellumo
