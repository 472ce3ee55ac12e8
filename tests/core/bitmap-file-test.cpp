#include "platform/bitmap_file.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace vellumo {
namespace {

namespace fs = std::filesystem;

struct Scratch {
  fs::path folder = fs::temp_directory_path() /
                    ("vellumo-bitmap-" + std::to_string(reinterpret_cast<uintptr_t>(this)) + "-" +
                     std::to_string(std::rand()));
  Scratch() { fs::create_directories(folder); }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
};

std::vector<uint8_t> ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t Le(const std::vector<uint8_t>& bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[at + i];
  return value;
}

// Row y of a w-pixel picture: every byte tells its row, column and channel apart.
std::vector<uint8_t> RowBytes(int width, int y) {
  std::vector<uint8_t> row;
  for (int x = 0; x < width * 3; ++x) row.push_back(static_cast<uint8_t>(y * 40 + x + 1));
  return row;
}

std::vector<uint8_t> WriteInOrder(const fs::path& path, int width, int height,
                                  const std::vector<int>& order) {
  BitmapFile file;
  EXPECT_TRUE(file.Open(path, width, height));
  for (int y : order) EXPECT_TRUE(file.WriteRow(y, RowBytes(width, y)));
  EXPECT_TRUE(file.Close());
  return ReadAll(path);
}

TEST(BitmapFile, WritesHeadersAndBottomUpPaddedRows) {
  Scratch scratch;
  const auto bytes = WriteInOrder(scratch.folder / "a.bmp", 3, 2, {0, 1});
  ASSERT_EQ(bytes.size(), 54u + 2 * 12);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  EXPECT_EQ(Le(bytes, 2, 4), bytes.size());
  EXPECT_EQ(Le(bytes, 10, 4), 54u);
  EXPECT_EQ(Le(bytes, 14, 4), 40u);
  EXPECT_EQ(Le(bytes, 18, 4), 3u);
  EXPECT_EQ(Le(bytes, 22, 4), 2u);
  EXPECT_EQ(Le(bytes, 26, 2), 1u);
  EXPECT_EQ(Le(bytes, 28, 2), 24u);
  EXPECT_EQ(Le(bytes, 30, 4), 0u);
  EXPECT_EQ(Le(bytes, 34, 4), 24u);
  // The bottom row (y = 1) comes first in the file, each row padded to 12 bytes with zeros.
  const auto bottom = RowBytes(3, 1);
  const auto top = RowBytes(3, 0);
  EXPECT_TRUE(std::equal(bottom.begin(), bottom.end(), bytes.begin() + 54));
  EXPECT_EQ((std::array{bytes[63], bytes[64], bytes[65]}), (std::array<uint8_t, 3>{0, 0, 0}));
  EXPECT_TRUE(std::equal(top.begin(), top.end(), bytes.begin() + 66));
}

TEST(BitmapFile, RowOrderDoesNotChangeTheFile) {
  Scratch scratch;
  const auto in_order = WriteInOrder(scratch.folder / "a.bmp", 5, 9, {0, 1, 2, 3, 4, 5, 6, 7, 8});
  const auto interlaced = WriteInOrder(scratch.folder / "b.bmp", 5, 9, {0, 8, 4, 2, 6, 1, 3, 5, 7});
  const auto bottom_up = WriteInOrder(scratch.folder / "c.bmp", 5, 9, {8, 7, 6, 5, 4, 3, 2, 1, 0});
  EXPECT_EQ(interlaced, in_order);
  EXPECT_EQ(bottom_up, in_order);
}

TEST(BitmapFile, RowsNeverWrittenStayBlackAndTheFileIsWhole) {
  Scratch scratch;
  const auto bytes = WriteInOrder(scratch.folder / "a.bmp", 2, 3, {1});
  ASSERT_EQ(bytes.size(), 54u + 3 * 8);
  for (size_t i = 54; i < 62; ++i) EXPECT_EQ(bytes[i], 0) << i;  // bottom row
  for (size_t i = 70; i < 78; ++i) EXPECT_EQ(bytes[i], 0) << i;  // top row
}

TEST(BitmapFile, RefusesRowsOutsideThePicture) {
  Scratch scratch;
  BitmapFile file;
  ASSERT_TRUE(file.Open(scratch.folder / "a.bmp", 2, 2));
  EXPECT_FALSE(file.WriteRow(-1, RowBytes(2, 0)));
  EXPECT_FALSE(file.WriteRow(2, RowBytes(2, 0)));
  EXPECT_FALSE(file.WriteRow(0, std::vector<uint8_t>(5)));  // shorter than a row
  EXPECT_TRUE(file.Close());
  EXPECT_EQ(ReadAll(scratch.folder / "a.bmp").size(), 54u + 2 * 8);
}

TEST(BitmapFile, UnwritablePlacesAreReported) {
  Scratch scratch;
  BitmapFile missing_folder;
  EXPECT_FALSE(missing_folder.Open(scratch.folder / "no" / "a.bmp", 2, 2));
  EXPECT_FALSE(missing_folder.Close());
  // A full disk: some step must say so.
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  BitmapFile full;
  const bool opened = full.Open("/dev/full", 64, 64);
  const bool wrote = opened && full.WriteRow(0, RowBytes(64, 0));
  const bool closed = full.Close();
  EXPECT_FALSE(opened && wrote && closed);
}

struct SizeCase {
  int64_t width;
  int64_t height;
  bool sensible;
};

class BitmapSizes : public testing::TestWithParam<SizeCase> {};

TEST_P(BitmapSizes, OnlySensibleSizesOpen) {
  const auto [width, height, sensible] = GetParam();
  EXPECT_EQ(IsSensibleBitmapSize(width, height), sensible);
  if (sensible || width > INT32_MAX || height > INT32_MAX) return;
  Scratch scratch;
  BitmapFile file;
  EXPECT_FALSE(
      file.Open(scratch.folder / "a.bmp", static_cast<int>(width), static_cast<int>(height)));
  EXPECT_FALSE(fs::exists(scratch.folder / "a.bmp")) << "nothing written for a refused size";
}

INSTANTIATE_TEST_SUITE_P(
    BitmapFile, BitmapSizes,
    testing::Values(SizeCase{1, 1, true}, SizeCase{0, 1, false}, SizeCase{1, 0, false},
                    SizeCase{-3, 2, false}, SizeCase{16384, 8192, true},
                    SizeCase{16385, 8192, false}, SizeCase{16384, 16384, false},
                    SizeCase{100000, 100000, false}, SizeCase{kMaxBitmapPixels, 1, true},
                    SizeCase{kMaxBitmapPixels + 1, 1, false}, SizeCase{1, kMaxBitmapPixels, true},
                    SizeCase{int64_t{1} << 32, int64_t{1} << 32, false}));

}  // namespace
}  // namespace vellumo
