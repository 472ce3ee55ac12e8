#include "wic_preview.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <ostream>
#include <string>

#include "shell_thumbnail.h"
#include "test_folder.h"
#include "test_pictures.h"

namespace vellumo {
namespace {

using test::Rgb;

// The box of the preview area at 96 dpi.
constexpr int kBoxWidth = 166, kBoxHeight = 127;

Rgb At(const PreviewPixels& preview, int x, int y) {
  const uint8_t* p = &preview.bgra[(static_cast<size_t>(y) * preview.width + x) * 4];
  return {p[2], p[1], p[0]};
}

bool Near(Rgb a, Rgb b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

void PutWord(std::string& bytes, size_t at, int value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>(value >> 8);
}

// Fitted inside a box, its aspect ratio kept, to the nearest pixel: a plain rule for these tests,
// which are about the decoding, not about the size the window asks for.
WantedSize Inside(int box_width, int box_height) {
  return [=](PixelSize picture) -> PixelSize {
    if (picture.width <= box_width && picture.height <= box_height) return picture;
    const double scale =
        std::min(double(box_width) / picture.width, double(box_height) / picture.height);
    return {std::max(1, int(picture.width * scale + 0.5)),
            std::max(1, int(picture.height * scale + 0.5))};
  };
}

class WicPreviewTest : public ::testing::Test {
 protected:
  std::optional<PreviewPixels> Decode(const std::string& path, int box_width = kBoxWidth,
                                      int box_height = kBoxHeight) {
    auto preview = DecodePreview(path, Inside(box_width, box_height));
    if (preview) {
      EXPECT_EQ(preview->bgra.size(), static_cast<size_t>(preview->width) * preview->height * 4);
      size_t see_through = 0;
      for (size_t i = 3; i < preview->bgra.size(); i += 4) see_through += preview->bgra[i] != 255;
      EXPECT_EQ(see_through, 0u) << "pixels whose alpha is not 255";
    }
    return preview;
  }

  std::string QuadrantsJpeg(int width, int height) {
    const std::string path =
        folder_ / (std::to_string(width) + "x" + std::to_string(height) + ".jpg");
    EXPECT_TRUE(test::EncodeJpeg(
        path, width, height, [=](int x, int y) { return test::Quadrants(x, y, width, height); }));
    return path;
  }

  // A 100 x 80 frame, left half red, right half blue, on a larger screen. The system's encoder
  // writes a screen as large as the frame, no global colour table and the frame's descriptor
  // (with a local table) right after: this widens the screen, moves the frame, adds a global
  // table whose second colour, magenta, is the background, and makes blue transparent.
  std::string GifOnScreen(int screen_width, int screen_height, int left, int top) {
    const std::string path = folder_ / "frame.gif";
    const auto halves = [](int x, int) { return x < 50 ? test::kRed : test::kBlue; };
    EXPECT_TRUE(test::EncodeGif(path, 100, 80, {test::kRed, test::kBlue}, halves));
    std::string bytes = test::ReadAll(path);
    EXPECT_EQ(bytes[10] & 0x80, 0);
    EXPECT_EQ(bytes[13], '\x2C');
    PutWord(bytes, 6, screen_width);
    PutWord(bytes, 8, screen_height);
    bytes[10] = '\xF0';
    bytes[11] = 1;
    PutWord(bytes, 14, left);
    PutWord(bytes, 16, top);
    const char table_and_transparency[] = {'\xFF', '\xFF', 0, '\xFF', 0, '\xFF', '\x21',
                                           '\xF9', 4,      1, 0,      0, 1,      0};
    bytes.insert(13, table_and_transparency, sizeof(table_and_transparency));
    return bytes;
  }

  test::ComApartment com_;
  test::TestFolder folder_;
};

struct FitCase {
  int width, height;          // the picture
  int fit_width, fit_height;  // in the 166 x 127 box
};

void PrintTo(const FitCase& c, std::ostream* out) {
  *out << c.width << " x " << c.height;
}

class WicPreviewFitTest : public WicPreviewTest, public ::testing::WithParamInterface<FitCase> {};

// Sized to the box with the ratio kept, never enlarged, the right way up and round, and the
// picture's own size reported.
TEST_P(WicPreviewFitTest, FitsTheBoxAndKeepsTheQuadrantsInPlace) {
  const FitCase c = GetParam();
  const auto preview = Decode(QuadrantsJpeg(c.width, c.height));
  ASSERT_TRUE(preview);
  EXPECT_EQ(preview->full.width, c.width);
  EXPECT_EQ(preview->full.height, c.height);
  ASSERT_EQ(preview->width, c.fit_width);
  ASSERT_EQ(preview->height, c.fit_height);
  const int w = preview->width, h = preview->height;
  for (const auto& [x, y] :
       {std::pair{w / 4, h / 4}, {3 * w / 4, h / 4}, {w / 4, 3 * h / 4}, {3 * w / 4, 3 * h / 4}})
    EXPECT_TRUE(Near(At(*preview, x, y), test::Quadrants(x, y, w, h), 48))
        << "pixel " << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Sizes, WicPreviewFitTest,
                         ::testing::Values(FitCase{1600, 1200, 166, 125},  // wide: width fills
                                           FitCase{600, 1800, 42, 127},    // tall: height fills
                                           FitCase{64, 48, 64, 48},        // small: as it is
                                           FitCase{166, 127, 166, 127}),   // exactly the box
                         [](const ::testing::TestParamInfo<FitCase>& info) {
                           return std::to_string(info.param.width) + "x" +
                                  std::to_string(info.param.height);
                         });

TEST_F(WicPreviewTest, SolidColoursComeBackThatColour) {
  const Rgb colour{200, 40, 90};
  const auto bmp = Decode(folder_.AddFile("solid.bmp", test::Bmp24(300, 200, test::Solid(colour))));
  ASSERT_TRUE(bmp);
  EXPECT_EQ(bmp->width, 166);
  EXPECT_EQ(bmp->height, 111);
  for (int y = 0; y < bmp->height; ++y)
    for (int x = 0; x < bmp->width; ++x) ASSERT_EQ(At(*bmp, x, y), colour) << x << "," << y;

  const std::string jpeg_path = folder_ / "solid.jpg";
  ASSERT_TRUE(test::EncodeJpeg(jpeg_path, 900, 700, test::Solid(colour)));
  const auto jpeg = Decode(jpeg_path);
  ASSERT_TRUE(jpeg);
  for (int y = 0; y < jpeg->height; ++y)
    for (int x = 0; x < jpeg->width; ++x)
      ASSERT_TRUE(Near(At(*jpeg, x, y), colour, 8)) << x << "," << y;
}

// The wallpaper of a GIF is its logical screen with the first frame at its offset over the
// background colour, which also shows through the frame's transparent pixels. The preview
// reports that size and shows the frame in the same place, scaled with the screen.
TEST_F(WicPreviewTest, GifIsItsLogicalScreenWithTheFrameInPlace) {
  const auto preview = Decode(folder_.AddFile("screen.gif", GifOnScreen(400, 300, 200, 150)));
  ASSERT_TRUE(preview);
  EXPECT_EQ(preview->full.width, 400);
  EXPECT_EQ(preview->full.height, 300);
  ASSERT_EQ(preview->width, 166);
  ASSERT_EQ(preview->height, 125);
  // The frame lands on columns 83 to 124 (red up to 103) and rows 63 to 95.
  for (const auto& [x, y] : {std::pair{86, 66}, {90, 80}, {100, 92}})
    EXPECT_EQ(At(*preview, x, y), test::kRed) << "pixel " << x << "," << y;
  for (const auto& [x, y] : {std::pair{115, 80}, {20, 20}, {79, 80}, {128, 80}, {90, 59}, {90, 99}})
    EXPECT_EQ(At(*preview, x, y), test::kMagenta) << "pixel " << x << "," << y;
}

// Where the stored quadrants (red, green / blue, white) appear once the picture is turned as
// its orientation says.
struct OrientationCase {
  int orientation;
  Rgb top_left, top_right, bottom_left, bottom_right;
};

class WicPreviewOrientation : public WicPreviewTest,
                              public ::testing::WithParamInterface<OrientationCase> {};

TEST_P(WicPreviewOrientation, PhotosAreShownUpright) {
  const OrientationCase& c = GetParam();
  const std::string path = folder_ / "photo.jpg";
  test::WriteAll(path, test::WithOrientation(test::ReadAll(QuadrantsJpeg(96, 64)), c.orientation));
  const auto preview = Decode(path);
  ASSERT_TRUE(preview.has_value());
  const bool turned = c.orientation >= 5;
  EXPECT_EQ(preview->full.width, turned ? 64 : 96);
  EXPECT_EQ(preview->width, turned ? 64 : 96);
  const int w = preview->width, h = preview->height;
  EXPECT_TRUE(Near(At(*preview, w / 4, h / 4), c.top_left, 24));
  EXPECT_TRUE(Near(At(*preview, w * 3 / 4, h / 4), c.top_right, 24));
  EXPECT_TRUE(Near(At(*preview, w / 4, h * 3 / 4), c.bottom_left, 24));
  EXPECT_TRUE(Near(At(*preview, w * 3 / 4, h * 3 / 4), c.bottom_right, 24));
}

using test::kBlue, test::kGreen, test::kRed, test::kWhite;
INSTANTIATE_TEST_SUITE_P(Exif, WicPreviewOrientation,
                         ::testing::Values(OrientationCase{1, kRed, kGreen, kBlue, kWhite},
                                           OrientationCase{2, kGreen, kRed, kWhite, kBlue},
                                           OrientationCase{3, kWhite, kBlue, kGreen, kRed},
                                           OrientationCase{4, kBlue, kWhite, kRed, kGreen},
                                           OrientationCase{5, kRed, kBlue, kGreen, kWhite},
                                           OrientationCase{6, kBlue, kRed, kWhite, kGreen},
                                           OrientationCase{7, kWhite, kGreen, kBlue, kRed},
                                           OrientationCase{8, kGreen, kWhite, kRed, kBlue}),
                         [](const auto& info) { return std::to_string(info.param.orientation); });

// A thumbnail the system keeps is offered the picture's upright size and the size wanted, and
// taken instead of decoding; without one (Wine keeps none) the picture is decoded as before.
TEST_F(WicPreviewTest, AThumbnailTheSystemKeepsIsTakenInsteadOfDecoding) {
  const std::string path = QuadrantsJpeg(320, 240);
  PixelSize offered_full, offered_wanted;
  const auto thumbnail =
      DecodePreview(path, Inside(160, 160), [&](PixelSize full, PixelSize wanted) {
        offered_full = full;
        offered_wanted = wanted;
        return std::optional<PreviewPixels>(PreviewPixels{full, 1, 1, {1, 2, 3, 255}});
      });
  ASSERT_TRUE(thumbnail);
  EXPECT_EQ(thumbnail->width, 1) << "the shortcut's, not decoded";
  EXPECT_EQ(offered_full.width, 320);
  EXPECT_EQ(offered_wanted.width, 160);
  EXPECT_EQ(offered_wanted.height, 120);

  const auto decoded = DecodePreview(
      path, Inside(160, 160),
      [&path](PixelSize full, PixelSize wanted) { return ShellThumbnail(path, wanted, full); });
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->width, 160);
}

TEST(ShellThumbnailTest, ABitmapsPixelsComeTopRowFirstAndOpaque) {
  BITMAPINFO format{};
  format.bmiHeader = {sizeof(BITMAPINFOHEADER), 2, 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};  // bottom-up
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_TRUE(bitmap && bits);
  const uint8_t bottom_up[16] = {0, 0, 200, 0, 0, 0, 200, 0, 200, 0, 0, 0, 200, 0, 0, 0};
  std::memcpy(bits, bottom_up, sizeof bottom_up);
  const auto pixels = PixelsOfBitmap(bitmap, {640, 480});
  DeleteObject(bitmap);
  ASSERT_TRUE(pixels);
  EXPECT_EQ(pixels->full.width, 640);
  EXPECT_EQ(At(*pixels, 0, 0).b, 200) << "the stored top row: blue";
  EXPECT_EQ(At(*pixels, 0, 1).r, 200);
  EXPECT_EQ(pixels->bgra[3], 255);
}

TEST_F(WicPreviewTest, GivesNothingForWhatCannotBeShown) {
  EXPECT_FALSE(Decode(folder_.AddFile("empty.jpg", "")));
  EXPECT_FALSE(Decode(folder_.AddFile("text.gif", "only text, not a picture\r\n")));
  EXPECT_FALSE(Decode(folder_ / "missing.bmp"));
  EXPECT_FALSE(Decode(""));
  EXPECT_FALSE(Decode(folder_.AddFile("huge.bmp", test::Bmp24Headers(100000, 100000, 64))));
  EXPECT_FALSE(Decode(folder_.AddFile("huge.gif", GifOnScreen(65535, 65535, 0, 0))));
  const std::string jpeg = test::ReadAll(QuadrantsJpeg(64, 48));
  EXPECT_FALSE(Decode(folder_.AddFile("cut.jpg", jpeg.substr(0, jpeg.size() / 3))));
  const std::string bmp = test::Bmp24(40, 40, test::Solid(test::kRed));
  EXPECT_FALSE(Decode(folder_.AddFile("cut.bmp", bmp.substr(0, bmp.size() / 2))));
  EXPECT_FALSE(DecodePreview(folder_.AddFile("ok.bmp", bmp), nullptr)) << "no size wanted";
}

}  // namespace
}  // namespace vellumo
