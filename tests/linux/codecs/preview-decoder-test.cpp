#include <gtest/gtest.h>

#include <cstdlib>

#include "preview_decoder.h"
#include "test_pictures.h"

namespace vellumo::test {
namespace {

Picture QuadrantPicture(int width, int height) {
  Picture picture{width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.pixels.push_back(Quadrants(x, y, width, height));
  return picture;
}

Rgb PixelOf(const PreviewPixels& preview, int x, int y) {
  const uint8_t* p = &preview.bgra[(static_cast<size_t>(y) * preview.width + x) * 4];
  return Rgb{p[2], p[1], p[0]};
}

bool Near(Rgb got, Rgb want) {
  constexpr int kTolerance = 24;
  return std::abs(got.r - want.r) <= kTolerance && std::abs(got.g - want.g) <= kTolerance &&
         std::abs(got.b - want.b) <= kTolerance;
}

struct PreviewCase {
  const char* name;
  bool jpeg;
  int orientation;
  int width, height;                // as stored
  int wanted_width, wanted_height;  // upright, as the preview asks
  int decoded_width, decoded_height;
  Rgb top_left;  // upright
};

const PreviewCase kCases[] = {
    // 800 x 600 wanted at 100 x 75: an eighth is exactly enough.
    {"JpegEighth", true, 1, 800, 600, 100, 75, 100, 75, kRed},
    // Wanted at 150 x 113: an eighth is too small, two eighths the smallest that is not.
    {"JpegQuarter", true, 1, 800, 600, 150, 113, 200, 150, kRed},
    // Stored 800 x 600, turned to 600 x 800 and wanted at 75 x 100.
    {"JpegTurned", true, 6, 800, 600, 75, 100, 75, 100, kBlue},
    // Wanted larger than the picture: full size, never enlarged.
    {"JpegSmall", true, 1, 64, 48, 500, 375, 64, 48, kRed},
    // A bitmap keeps every fourth pixel across and down: 64 x 48 wanted at 16 x 12.
    {"BmpSampled", false, 1, 64, 48, 16, 12, 16, 12, kRed},
    // 3.9 times too big: every third pixel, so it is still not smaller than wanted.
    {"BmpUneven", false, 1, 78, 40, 20, 11, 26, 13, kRed},
};

class Preview : public testing::TestWithParam<PreviewCase> {};

TEST_P(Preview, DecodesAtLeastTheShownSizeAndReportsTheFullSize) {
  const PreviewCase& c = GetParam();
  TempFolder folder;
  const auto path = folder.path() / (c.jpeg ? "photo.jpg" : "photo.bmp");
  if (c.jpeg) {
    WriteJpeg(path, QuadrantPicture(c.width, c.height), JpegKind::kRgb, c.orientation);
  } else {
    WriteFile(path, Bmp24(c.width, c.height,
                          [&](int x, int y) { return Quadrants(x, y, c.width, c.height); }));
  }
  const auto preview = DecodePreview(path, [&c](PixelSize) {
    return PixelSize{c.wanted_width, c.wanted_height};
  });
  ASSERT_TRUE(preview.has_value());
  const bool turned = c.orientation >= 5;
  EXPECT_EQ(preview->full.width, turned ? c.height : c.width);
  EXPECT_EQ(preview->full.height, turned ? c.width : c.height);
  EXPECT_EQ(preview->width, c.decoded_width);
  EXPECT_EQ(preview->height, c.decoded_height);
  ASSERT_EQ(preview->bgra.size(), static_cast<size_t>(preview->width) * preview->height * 4);
  EXPECT_TRUE(Near(PixelOf(*preview, preview->width / 4, preview->height / 4), c.top_left));
  EXPECT_EQ(preview->bgra[3], 255) << "opaque";
}

INSTANTIATE_TEST_SUITE_P(Codecs, Preview, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// At an eighth of its size a progressive picture needs only its first scan (the DC
// coefficients): a file cut after it still previews, so the scans after it were never read.
TEST(Preview, AProgressivePictureStopsAfterTheScansItsSizeNeeds) {
  TempFolder folder;
  WriteJpeg(folder / "p.jpg", QuadrantPicture(800, 600), JpegKind::kProgressive);
  const std::vector<uint8_t> whole = ReadBytes(folder / "p.jpg");
  // The end of the first scan: the second start-of-scan marker.
  size_t second_scan = 0;
  for (size_t i = 0, scans = 0; i + 1 < whole.size() && !second_scan; ++i)
    if (whole[i] == 0xFF && whole[i + 1] == 0xDA && ++scans == 2) second_scan = i;
  ASSERT_GT(second_scan, 0u);
  WriteFile(folder / "cut.jpg", std::vector<uint8_t>(whole.begin(), whole.begin() + second_scan));

  const auto eighth = DecodePreview(folder / "cut.jpg", [](PixelSize) {
    return PixelSize{100, 75};
  });
  ASSERT_TRUE(eighth.has_value());
  EXPECT_EQ(eighth->width, 100);
  EXPECT_TRUE(Near(PixelOf(*eighth, 25, 18), kRed));
  EXPECT_FALSE(DecodePreview(folder / "cut.jpg", [](PixelSize) {
    return PixelSize{400, 300};
  })) << "half the size needs the scans that were cut";
}

TEST(Preview, NothingForWhatCannotBeLoaded) {
  TempFolder folder;
  WriteFile(folder.path() / "cut.bmp", Bmp24Headers(64, 48, 100));
  const auto ten = [](PixelSize) { return PixelSize{10, 10}; };
  EXPECT_FALSE(DecodePreview(folder / "cut.bmp", ten).has_value());
  EXPECT_FALSE(DecodePreview(folder / "missing.jpg", ten).has_value());
}

}  // namespace
}  // namespace vellumo::test
