#include <gtest/gtest.h>

#include "test_pictures.h"

namespace vellumo::test {
namespace {

const std::vector<Rgb> kColours = {kBlack, kRed, kGreen, kBlue, kWhite, kYellow, kCyan, kMagenta};

Picture DecodeGif(const GifRecipe& recipe) {
  TempFolder dir;
  WriteGif(dir / "anim.gif", recipe);
  const Decoded decoded = Decode(dir / "anim.gif");
  EXPECT_TRUE(decoded.size.has_value());
  EXPECT_TRUE(decoded.rows_once);
  return decoded.picture;
}

Picture Expected(int width, int height, const std::vector<Rgb>& pixels) {
  return {width, height, pixels};
}

void ExpectSame(const Picture& got, const Picture& want) {
  ASSERT_EQ(got.width, want.width);
  ASSERT_EQ(got.height, want.height);
  for (int y = 0; y < want.height; ++y) {
    for (int x = 0; x < want.width; ++x) {
      EXPECT_EQ(got.At(x, y), want.At(x, y)) << "pixel " << x << "," << y;
    }
  }
}

const Rgb K = kBlack, R = kRed, G = kGreen, B = kBlue, W = kWhite, Y = kYellow, C = kCyan;

TEST(GifDecoder, DecodesAFrameWithTheGlobalColours) {
  GifRecipe recipe{3, 2, kColours, 0, {{0, 0, 3, 2, false, -1, {}, {1, 2, 3, 4, 5, 6}}}};
  ExpectSame(DecodeGif(recipe), Expected(3, 2, {R, G, B, W, Y, C}));
}

TEST(GifDecoder, LocalColoursWinOverGlobal) {
  const std::vector<Rgb> local = {kWhite, kCyan};
  GifRecipe recipe{2, 1, kColours, 0, {{0, 0, 2, 1, false, -1, local, {1, 0}}}};
  ExpectSame(DecodeGif(recipe), Expected(2, 1, {C, W}));
}

TEST(GifDecoder, InterlacedRowsLandInPlace) {
  std::vector<uint8_t> indices;
  std::vector<Rgb> want;
  for (int y = 0; y < 11; ++y) {
    indices.push_back(static_cast<uint8_t>(y % 7 + 1));
    want.push_back(kColours[y % 7 + 1]);
  }
  GifRecipe recipe{1, 11, kColours, 0, {{0, 0, 1, 11, true, -1, {}, indices}}};
  ExpectSame(DecodeGif(recipe), Expected(1, 11, want));
}

TEST(GifDecoder, TransparentPixelsShowTheBackgroundColour) {
  GifRecipe recipe{3, 1, kColours, 4, {{0, 0, 3, 1, false, 2, {}, {1, 2, 3}}}};
  ExpectSame(DecodeGif(recipe), Expected(3, 1, {R, W, B}));
}

TEST(GifDecoder, WithoutGlobalColoursBackgroundIsBlack) {
  const std::vector<Rgb> local = {kWhite, kRed, kGreen, kBlue};
  GifRecipe recipe{4, 2, {}, 1, {{1, 0, 2, 1, false, 3, local, {1, 3}}}};
  ExpectSame(DecodeGif(recipe), Expected(4, 2, {K, R, K, K, K, K, K, K}));
}

TEST(GifDecoder, OffsetFrameSitsOnTheBackground) {
  GifRecipe recipe{4, 3, kColours, 5, {{1, 1, 2, 1, false, -1, {}, {1, 2}}}};
  ExpectSame(DecodeGif(recipe), Expected(4, 3, {Y, Y, Y, Y, Y, R, G, Y, Y, Y, Y, Y}));
}

TEST(GifDecoder, FrameReachingPastTheScreenIsClipped) {
  GifRecipe recipe{3, 3, kColours, 0, {{2, 1, 2, 3, false, -1, {}, {1, 2, 3, 4, 5, 6}}}};
  ExpectSame(DecodeGif(recipe), Expected(3, 3, {K, K, K, K, K, R, K, K, B}));
}

TEST(GifDecoder, AnimationShowsOnlyTheFirstFrame) {
  GifRecipe recipe{2,
                   1,
                   kColours,
                   0,
                   {{0, 0, 2, 1, false, -1, {}, {1, 2}}, {0, 0, 2, 1, false, -1, {}, {3, 3}}}};
  ExpectSame(DecodeGif(recipe), Expected(2, 1, {R, G}));
}

// Screen 1 x 1, one image, no colour table anywhere; pixel data is one LZW-coded index 0.
const std::vector<uint8_t> kNoColourTable = {
    'G',  'I', 'F',  '8',  '9', 'a', 1, 0, 1, 0,    0x00, 0, 0,  // screen, no global table
    0x2C, 0,   0,    0,    0,   1,   0, 1, 0, 0x00,              // image, no local table
    2,    2,   0x44, 0x01, 0,   0x3B};

std::vector<uint8_t> SampleGif() {
  TempFolder dir;
  std::vector<uint8_t> indices(64 * 64);
  for (size_t i = 0; i < indices.size(); ++i)
    indices[i] = static_cast<uint8_t>((i * 2654435761u >> 13) % 8);
  WriteGif(dir / "s.gif", {64, 64, kColours, 0, {{0, 0, 64, 64, false, -1, {}, indices}}});
  return ReadBytes(dir / "s.gif");
}

std::vector<uint8_t> HugeScreen() {
  auto bytes = SampleGif();
  for (size_t at = 6; at < 10; ++at) bytes[at] = 0xFF;  // 65535 x 65535
  return bytes;
}

std::vector<uint8_t> Cut(std::vector<uint8_t> bytes, size_t drop) {
  bytes.resize(bytes.size() - drop);
  return bytes;
}

std::vector<uint8_t> Keep(std::vector<uint8_t> bytes, size_t keep) {
  bytes.resize(keep);
  return bytes;
}

class BrokenGif : public testing::TestWithParam<std::pair<const char*, std::vector<uint8_t>>> {};

TEST_P(BrokenGif, GivesNothing) {
  TempFolder dir;
  WriteFile(dir / "bad.gif", GetParam().second);
  const Decoded decoded = Decode(dir / "bad.gif");
  EXPECT_FALSE(decoded.size.has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Gif, BrokenGif,
    testing::Values(std::pair{"NoColourTable", kNoColourTable},
                    std::pair{"CutInPixelData", Cut(SampleGif(), 100)},
                    std::pair{"HeaderOnly", Keep(SampleGif(), 30)},
                    std::pair{"NoImage", std::vector<uint8_t>{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1,
                                                              0, 0, 0, 0, 0x3B}},
                    std::pair{"HugeScreen", HugeScreen()}),
    [](const auto& info) { return std::string(info.param.first); });

}  // namespace
}  // namespace vellumo::test
