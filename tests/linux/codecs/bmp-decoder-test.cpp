#include <gtest/gtest.h>

#include "bmp_builder.h"
#include "test_pictures.h"

namespace vellumo::test {
namespace {

void ExpectPicture(const Decoded& decoded, const Picture& expected) {
  ASSERT_TRUE(decoded.size.has_value());
  EXPECT_TRUE(decoded.rows_once);
  EXPECT_EQ(decoded.size->width, expected.width);
  EXPECT_EQ(decoded.size->height, expected.height);
  for (int y = 0; y < expected.height; ++y) {
    for (int x = 0; x < expected.width; ++x) {
      const Rgb got = decoded.picture.At(x, y);
      const Rgb want = expected.At(x, y);
      EXPECT_EQ(got, want) << "pixel " << x << "," << y << ": got " << int(got.r) << " "
                           << int(got.g) << " " << int(got.b);
    }
  }
}

class BmpVariant : public testing::TestWithParam<BmpRecipe> {};

TEST_P(BmpVariant, DecodesEveryPixelInPlace) {
  const BmpRecipe& recipe = GetParam();
  const Picture picture = recipe.bits <= 2 ? TwoColours() : SixColours();
  TempFolder dir;
  WriteFile(dir / "picture.bmp", BuildBmp(picture, recipe));
  ExpectPicture(Decode(dir / "picture.bmp"), picture);
}

const BmpRecipe kVariants[] = {
    {.name = "Core1", .header_size = 12, .bits = 1},
    {.name = "Core4", .header_size = 12, .bits = 4},
    {.name = "Core8", .header_size = 12, .bits = 8},
    {.name = "Core24", .header_size = 12, .bits = 24},
    {.name = "Info1", .bits = 1},
    {.name = "Info2", .bits = 2},
    {.name = "Info4", .bits = 4},
    {.name = "Info8", .bits = 8},
    {.name = "Info8ShortPalette", .bits = 8, .colours_used = 6},
    {.name = "Info8TopDown", .bits = 8, .top_down = true},
    {.name = "Info16Default555", .bits = 16},
    {.name = "Info16Bitfields565",
     .bits = 16,
     .compression = kBitfields,
     .masks = {0xF800, 0x07E0, 0x001F}},
    {.name = "Info24", .bits = 24},
    {.name = "Info24TopDown", .bits = 24, .top_down = true},
    {.name = "Info24PixelsAfterGap", .bits = 24, .gap = 37},
    {.name = "Info32DefaultBgrx", .bits = 32},
    {.name = "Info32BitfieldsRgbx",
     .bits = 32,
     .compression = kBitfields,
     .masks = {0x000000FF, 0x0000FF00, 0x00FF0000}},
    {.name = "Info32AlphaBitfields",
     .bits = 32,
     .compression = kAlphaBitfields,
     .masks = {0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF}},
    {.name = "Info32TenBitChannels",
     .bits = 32,
     .compression = kBitfields,
     .masks = {0x3FF00000, 0x000FFC00, 0x000003FF}},
    {.name = "V3Bitfields565",
     .header_size = 56,
     .bits = 16,
     .compression = kBitfields,
     .masks = {0xF800, 0x07E0, 0x001F}},
    {.name = "V4With24", .header_size = 108, .bits = 24},
    {.name = "V5With32Bitfields",
     .header_size = 124,
     .bits = 32,
     .compression = kBitfields,
     .masks = {0x00FF0000, 0x0000FF00, 0x000000FF}},
    {.name = "V5With4TopDown", .header_size = 124, .bits = 4, .top_down = true},
    {.name = "Os2Short24", .header_size = 16, .bits = 24},
    {.name = "Os2Full8", .header_size = 64, .bits = 8},
};

INSTANTIATE_TEST_SUITE_P(Bmp, BmpVariant, testing::ValuesIn(kVariants),
                         [](const auto& info) { return std::string(info.param.name); });

// Run-length cases: the data (bottom row first), and the picture it should give.
struct RleCase {
  const char* name;
  uint32_t compression;
  int width, height;
  std::vector<uint8_t> data;
  std::vector<Rgb> expected;  // top row first
};

const std::vector<Rgb> kRlePalette = {kBlack, kRed, kGreen, kBlue, kWhite};

class RleVariant : public testing::TestWithParam<RleCase> {};

TEST_P(RleVariant, DecodesRunsDeltasAndGaps) {
  const RleCase& c = GetParam();
  TempFolder dir;
  WriteFile(dir / "rle.bmp", BuildRleBmp(c.width, c.height, c.compression, kRlePalette, c.data));
  ExpectPicture(Decode(dir / "rle.bmp"), Picture{c.width, c.height, c.expected});
}

const Rgb K = kBlack, R = kRed, G = kGreen, B = kBlue, W = kWhite;

const RleCase kRleCases[] = {
    {"Rle8RunsAndAbsolute",
     kRle8,
     4,
     2,
     {2, 1, 2, 2, 0, 0,         // bottom: red red green green, end of line
      0, 3, 3, 4, 1, 0, 0, 1},  // top: absolute blue white red (padded), end of bitmap
     {B, W, R, K, R, R, G, G}},
    {"Rle8DeltaSkipsPixelsAndRows",
     kRle8,
     3,
     3,
     {1, 1, 0, 2, 1, 1, 1, 2, 0, 1},  // red at (0,bottom), delta to (2,middle), green
     {K, K, K, K, K, G, R, K, K}},
    {"Rle8EndOfBitmapLeavesRestBlack", kRle8, 2, 3, {2, 3, 0, 1}, {K, K, K, K, B, B}},
    {"Rle8RunPastRowEndIsClipped",
     kRle8,
     2,
     2,
     {200, 1, 0, 0, 0, 5, 2, 2, 2, 2, 2, 0, 0, 1},  // both runs longer than the row
     {G, G, R, R}},
    {"Rle8IndexOutsidePaletteIsBlack", kRle8, 2, 1, {1, 200, 1, 4, 0, 1}, {K, W}},
    {"Rle4RunsAlternateNibbles", kRle4, 5, 1, {5, 0x12, 0, 1}, {R, G, R, G, R}},
    {"Rle4AbsoluteWithPadding",
     kRle4,
     3,
     2,
     {0, 3, 0x34, 0x10, 0, 0,  // bottom: blue white red, padded to a word
      3, 0x22, 0, 1},
     {G, G, G, B, W, R}},
};

INSTANTIATE_TEST_SUITE_P(Bmp, RleVariant, testing::ValuesIn(kRleCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BmpDecoder, PaletteIndexBeyondTheDeclaredColoursIsBlack) {
  BmpRecipe recipe{.bits = 8, .colours_used = 2};
  auto bytes = BuildBmp(Picture{2, 1, {kRed, kGreen}}, recipe);
  bytes[bytes.size() - 3] = 250;  // the second pixel points past the two colours
  TempFolder dir;
  WriteFile(dir / "p.bmp", bytes);
  ExpectPicture(Decode(dir / "p.bmp"), Picture{2, 1, {kRed, kBlack}});
}

struct BadBmp {
  const char* name;
  std::vector<uint8_t> bytes;
};

std::vector<uint8_t> Truncated(std::vector<uint8_t> bytes, size_t keep) {
  bytes.resize(keep);
  return bytes;
}

std::vector<uint8_t> WithByte(std::vector<uint8_t> bytes, size_t at, uint8_t value) {
  bytes[at] = value;
  return bytes;
}

std::vector<uint8_t> Huge() {
  auto bytes = BuildBmp(SixColours(), {});
  for (size_t at : {18u, 22u}) {  // width and height: 100000
    bytes[at] = 0xA0;
    bytes[at + 1] = 0x86;
    bytes[at + 2] = 0x01;
  }
  return bytes;
}

class BrokenBmp : public testing::TestWithParam<BadBmp> {};

TEST_P(BrokenBmp, GivesNothingAndNoRows) {
  TempFolder dir;
  WriteFile(dir / "bad.bmp", GetParam().bytes);
  const Decoded decoded = Decode(dir / "bad.bmp");
  EXPECT_FALSE(decoded.size.has_value());
}

const std::vector<uint8_t> kGood24 = BuildBmp(SixColours(), {});
const std::vector<uint8_t> kGoodRle =
    BuildRleBmp(2, 2, kRle8, kRlePalette, {2, 1, 0, 0, 2, 2, 0, 1});

const BadBmp kBadBmps[] = {
    {"HeaderOnly", Truncated(kGood24, 30)},
    {"PixelsCutShort", Truncated(kGood24, kGood24.size() - 1)},
    {"UnknownHeaderSize", WithByte(kGood24, 14, 41)},
    {"ZeroWidth", WithByte(kGood24, 18, 0)},
    {"ZeroBits", WithByte(kGood24, 28, 0)},
    {"JpegInside", WithByte(kGood24, 30, 4)},
    {"DeclaresHundredThousandSquare", Huge()},
    {"RleCutShort", Truncated(kGoodRle, kGoodRle.size() - 3)},
    {"RleTopDown", BuildRleBmp(2, -2, kRle8, kRlePalette, {2, 1, 0, 0, 2, 2, 0, 1})},
    {"RleAbsoluteRunPastEndOfData", BuildRleBmp(2, 1, kRle8, kRlePalette, {0, 200, 1, 1})},
};

INSTANTIATE_TEST_SUITE_P(Bmp, BrokenBmp, testing::ValuesIn(kBadBmps),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vellumo::test
