#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "platform/exif_orientation.h"
#include "test_pictures.h"

namespace vellumo::test {
namespace {

// 32 x 16 in four blocks, so compression keeps each block's colour near its own.
Picture Quadrants(Rgb top_left, Rgb top_right, Rgb bottom_left, Rgb bottom_right, int width = 32,
                  int height = 16) {
  Picture picture{width, height, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool left = x < width / 2;
      const bool top = y < height / 2;
      picture.pixels.push_back(top ? (left ? top_left : top_right)
                                   : (left ? bottom_left : bottom_right));
    }
  }
  return picture;
}

void ExpectNear(Rgb got, Rgb want, const std::string& where) {
  constexpr int kTolerance = 12;
  EXPECT_LE(std::abs(got.r - want.r), kTolerance) << where << " red " << int(got.r);
  EXPECT_LE(std::abs(got.g - want.g), kTolerance) << where << " green " << int(got.g);
  EXPECT_LE(std::abs(got.b - want.b), kTolerance) << where << " blue " << int(got.b);
}

// The centre of each block keeps its colour, top stays top and left stays left.
void ExpectQuadrants(const Decoded& decoded, const Picture& expected) {
  ASSERT_TRUE(decoded.size.has_value());
  EXPECT_TRUE(decoded.rows_once);
  ASSERT_EQ(decoded.size->width, expected.width);
  ASSERT_EQ(decoded.size->height, expected.height);
  for (int y : {expected.height / 4, expected.height * 3 / 4}) {
    for (int x : {expected.width / 4, expected.width * 3 / 4}) {
      ExpectNear(decoded.picture.At(x, y), expected.At(x, y),
                 "at " + std::to_string(x) + "," + std::to_string(y));
    }
  }
}

struct JpegCase {
  const char* name;
  JpegKind kind;
  Picture picture;
};

class JpegKinds : public testing::TestWithParam<JpegCase> {};

TEST_P(JpegKinds, DecodesColoursInPlace) {
  TempFolder dir;
  WriteJpeg(dir / "photo.jpg", GetParam().picture, GetParam().kind);
  ExpectQuadrants(Decode(dir / "photo.jpg"), GetParam().picture);
}

const Rgb kGrey40{40, 40, 40}, kGrey200{200, 200, 200}, kGrey120{120, 120, 120};

const JpegCase kJpegCases[] = {
    {"Rgb", JpegKind::kRgb, Quadrants(kRed, kGreen, kBlue, kWhite)},
    {"OddSize", JpegKind::kRgb, Quadrants(kYellow, kBlue, kCyan, kBlack, 37, 23)},
    {"Progressive", JpegKind::kProgressive, Quadrants(kBlue, kRed, kWhite, kGreen)},
    {"Grayscale", JpegKind::kGray, Quadrants(kGrey40, kGrey200, kWhite, kGrey120)},
    {"AdobeCmyk", JpegKind::kCmykAdobe, Quadrants(kRed, kCyan, kYellow, kGrey120)},
};

INSTANTIATE_TEST_SUITE_P(Jpeg, JpegKinds, testing::ValuesIn(kJpegCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Noise, so that most of the file is entropy-coded data rather than headers.
std::vector<uint8_t> SampleJpeg() {
  Picture noise{64, 64, {}};
  for (uint32_t i = 0; i < 64 * 64; ++i) {
    const uint32_t v = i * 2654435761u;
    noise.pixels.push_back({uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8)});
  }
  TempFolder dir;
  WriteJpeg(dir / "sample.jpg", noise, JpegKind::kRgb);
  return ReadBytes(dir / "sample.jpg");
}

class DamagedJpeg : public testing::TestWithParam<int> {};

// A cut file is completed by libjpeg with grey; it must be refused instead.
TEST_P(DamagedJpeg, CutFileGivesNothing) {
  auto bytes = SampleJpeg();
  bytes.resize(bytes.size() - GetParam());
  TempFolder dir;
  WriteFile(dir / "cut.jpg", bytes);
  EXPECT_FALSE(Decode(dir / "cut.jpg").size.has_value());
}

// Cut inside the entropy-coded data, just before the end marker, and inside it.
INSTANTIATE_TEST_SUITE_P(Jpeg, DamagedJpeg, testing::Values(300, 2, 1));

// Stray bytes before a marker lose no picture data; cameras and phones write them often.
// Where the stored picture's quadrants (red, green / blue, white) appear once it is turned as
// its orientation says, and the upright size.
struct OrientationCase {
  int orientation;
  Rgb top_left, top_right, bottom_left, bottom_right;
  bool turned;  // width and height swapped
};

constexpr Rgb kR{255, 0, 0}, kG{0, 255, 0}, kB{0, 0, 255}, kW{255, 255, 255};
const OrientationCase kOrientations[] = {
    {1, kR, kG, kB, kW, false}, {2, kG, kR, kW, kB, false}, {3, kW, kB, kG, kR, false},
    {4, kB, kW, kR, kG, false}, {5, kR, kB, kG, kW, true},  {6, kB, kR, kW, kG, true},
    {7, kW, kG, kB, kR, true},  {8, kG, kW, kR, kB, true},
};

class JpegOrientation : public testing::TestWithParam<OrientationCase> {};

TEST_P(JpegOrientation, ComesOutUpright) {
  const OrientationCase& c = GetParam();
  TempFolder folder;
  const auto path = folder.path() / "photo.jpg";
  WriteJpeg(path, Quadrants(kR, kG, kB, kW, 48, 32), JpegKind::kRgb, c.orientation);
  const int width = c.turned ? 32 : 48, height = c.turned ? 48 : 32;
  ExpectQuadrants(Decode(path),
                  Quadrants(c.top_left, c.top_right, c.bottom_left, c.bottom_right, width, height));
}

INSTANTIATE_TEST_SUITE_P(Jpeg, JpegOrientation, testing::ValuesIn(kOrientations),
                         [](const auto& info) { return std::to_string(info.param.orientation); });

TEST(ExifOrientation, ReadsEitherByteOrderAndIgnoresWhatItCannotTrust) {
  EXPECT_EQ(ExifOrientation(ExifWithOrientation(6)), 6);
  EXPECT_EQ(ExifOrientation(ExifWithOrientation(8, true)), 8);
  EXPECT_EQ(ExifOrientation(ExifWithOrientation(9)), 1) << "no such orientation";
  auto cut = ExifWithOrientation(6);
  cut.resize(cut.size() - 8);
  EXPECT_EQ(ExifOrientation(cut), 1) << "entry cut short";
  auto other = ExifWithOrientation(6);
  other[0] = 'X';
  EXPECT_EQ(ExifOrientation(other), 1) << "not EXIF";
  EXPECT_EQ(ExifOrientation({}), 1);
}

TEST(JpegDecoder, JunkBeforeAMarkerIsTolerated) {
  auto bytes = SampleJpeg();
  for (size_t i = 2; i + 1 < bytes.size(); ++i) {
    if (bytes[i] == 0xFF && bytes[i + 1] == 0xDB) {  // the first quantisation table
      bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(i), {0x00, 0x11, 0x22});
      break;
    }
  }
  TempFolder dir;
  WriteFile(dir / "junk.jpg", bytes);
  const Decoded decoded = Decode(dir / "junk.jpg");
  ASSERT_TRUE(decoded.size.has_value());
  EXPECT_EQ(decoded.size->width, 64);
  EXPECT_TRUE(decoded.rows_once);
}

// The decoder's memory is freed on the way out (the leak checker sees it otherwise).
TEST(JpegDecoder, ExceptionFromARowHandlerPassesThrough) {
  TempFolder dir;
  WriteFile(dir / "sample.jpg", SampleJpeg());
  const auto throw_on_row = [](int, std::span<const uint8_t>) -> bool { throw std::bad_alloc(); };
  EXPECT_THROW(DecodePicture(dir / "sample.jpg", nullptr, throw_on_row), std::bad_alloc);
}

TEST(JpegDecoder, HugeDeclaredSizeIsRefusedBeforeDecoding) {
  auto bytes = SampleJpeg();
  // The frame header (SOF0) holds height then width after the marker, length and precision.
  for (size_t i = 0; i + 8 < bytes.size(); ++i) {
    if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
      bytes[i + 5] = bytes[i + 7] = 0xFF;
      bytes[i + 6] = bytes[i + 8] = 0x00;
      break;
    }
  }
  TempFolder dir;
  WriteFile(dir / "huge.jpg", bytes);
  const Decoded decoded = Decode(dir / "huge.jpg");
  EXPECT_FALSE(decoded.size.has_value());
  EXPECT_FALSE(decoded.size_reported);
}

TEST(JpegDecoder, FoundByContentWhateverTheName) {
  TempFolder dir;
  WriteJpeg(dir / "really-a-jpeg.gif", Quadrants(kRed, kGreen, kBlue, kWhite), JpegKind::kRgb);
  EXPECT_TRUE(Decode(dir / "really-a-jpeg.gif").size.has_value());
}

}  // namespace
}  // namespace vellumo::test
