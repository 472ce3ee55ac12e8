#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "bmp_builder.h"
#include "picture_converter.h"
#include "test_pictures.h"

namespace vellumo::test {
namespace {

namespace fs = std::filesystem;

uint32_t Le(const std::vector<uint8_t>& bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[at + i];
  return value;
}

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Reads back a 24-bit bottom-up bitmap written by the converter, checking its headers.
Picture ParseWrittenBitmap(const std::vector<uint8_t>& bytes) {
  EXPECT_GE(bytes.size(), 54u);
  if (bytes.size() < 54) return {};
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  EXPECT_EQ(Le(bytes, 2, 4), bytes.size()) << "bfSize";
  EXPECT_EQ(Le(bytes, 10, 4), 54u) << "bfOffBits";
  EXPECT_EQ(Le(bytes, 14, 4), 40u) << "biSize";
  const int width = static_cast<int>(Le(bytes, 18, 4));
  const int height = static_cast<int>(Le(bytes, 22, 4));
  EXPECT_EQ(Le(bytes, 26, 2), 1u) << "biPlanes";
  EXPECT_EQ(Le(bytes, 28, 2), 24u) << "biBitCount";
  EXPECT_EQ(Le(bytes, 30, 4), 0u) << "biCompression";
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
  EXPECT_EQ(Le(bytes, 34, 4), stride * height) << "biSizeImage";
  EXPECT_EQ(bytes.size(), 54 + stride * height);
  Picture picture{width, height, {}};
  if (bytes.size() != 54 + stride * height) return picture;
  for (int y = 0; y < height; ++y) {
    const size_t row = 54 + (height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      picture.pixels.push_back(
          {bytes[row + x * 3 + 2], bytes[row + x * 3 + 1], bytes[row + x * 3]});
    }
    for (size_t pad = width * 3; pad < stride; ++pad) EXPECT_EQ(bytes[row + pad], 0) << "padding";
  }
  return picture;
}

class Converter : public testing::Test {
 protected:
  TempFolder pictures_;
  TempFolder output_;
  std::string target_ = output_ / "vellumo.bmp";
  LinuxPictureConverter converter_;
};

TEST_F(Converter, WritesAValidBottomUpBitmapWithPaddedRows) {
  const Picture picture{5,
                        3,
                        {kRed, kGreen, kBlue, kWhite, kBlack, kYellow, kCyan, kMagenta, kRed,
                         kGreen, kBlue, kBlack, kWhite, kCyan, kRed}};
  WriteFile(pictures_ / "in.bmp", BuildBmp(picture, {.bits = 24, .top_down = true}));
  const auto size = converter_.ConvertToBitmap(pictures_ / "in.bmp", target_);
  ASSERT_TRUE(size.has_value());
  EXPECT_EQ(size->width, 5);
  EXPECT_EQ(size->height, 3);
  const Picture written = ParseWrittenBitmap(ReadBytes(target_));
  EXPECT_EQ(written.pixels, picture.pixels);
  EXPECT_EQ(Names(output_.path()), std::vector<std::string>{"vellumo.bmp"});
}

TEST_F(Converter, ReplacesAnEarlierBitmap) {
  WriteFile(target_, {1, 2, 3});
  WriteGif(pictures_ / "a.gif", {2, 1, {kRed, kBlue}, 0, {{0, 0, 2, 1, false, -1, {}, {1, 0}}}});
  ASSERT_TRUE(converter_.ConvertToBitmap(pictures_ / "a.gif", target_));
  EXPECT_EQ(ParseWrittenBitmap(ReadBytes(target_)).pixels, (std::vector<Rgb>{kBlue, kRed}));
}

TEST_F(Converter, ConvertsAJpegAtItsPixelSize) {
  Picture picture{33, 17, std::vector<Rgb>(33 * 17, kGreen)};
  WriteJpeg(pictures_ / "p.jpg", picture, JpegKind::kRgb);
  const auto size = converter_.ConvertToBitmap(pictures_ / "p.jpg", target_);
  ASSERT_TRUE(size.has_value());
  const Picture written = ParseWrittenBitmap(ReadBytes(target_));
  EXPECT_EQ(written.width, 33);
  EXPECT_EQ(written.height, 17);
}

TEST_F(Converter, MissingOutputFolderGivesNothing) {
  WriteFile(pictures_ / "in.bmp", BuildBmp(SixColours(), {}));
  EXPECT_FALSE(converter_.ConvertToBitmap(pictures_ / "in.bmp", output_ / "gone/vellumo.bmp"));
}

struct BadPicture {
  const char* name;
  std::vector<uint8_t> (*make)();
};

std::vector<uint8_t> JpegBytes() {
  TempFolder dir;
  Picture noise{64, 64, {}};
  for (uint32_t i = 0; i < 64 * 64; ++i) noise.pixels.push_back({uint8_t(i * 97), 0, uint8_t(i)});
  WriteJpeg(dir / "j.jpg", noise, JpegKind::kRgb);
  return ReadBytes(dir / "j.jpg");
}

std::vector<uint8_t> GifBytes() {
  TempFolder dir;
  std::vector<uint8_t> indices(64 * 64);
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint8_t>((i * 40503u) >> 5);
  std::vector<Rgb> colours(256, kRed);
  WriteGif(dir / "g.gif", {64, 64, colours, 0, {{0, 0, 64, 64, false, -1, {}, indices}}});
  return ReadBytes(dir / "g.gif");
}

std::vector<uint8_t> Half(std::vector<uint8_t> bytes) {
  bytes.resize(bytes.size() / 2);
  return bytes;
}

const BadPicture kBadPictures[] = {
    {"Empty", [] { return std::vector<uint8_t>{}; }},
    {"Text", [] { return std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o', '\n', 'w', 'o', 'r'}; }},
    {"TruncatedJpeg", [] { return Half(JpegBytes()); }},
    {"TruncatedGif", [] { return Half(GifBytes()); }},
    {"TruncatedBmp", [] { return Half(BuildBmp(SixColours(), {})); }},
    {"CorruptBmpHeader",
     [] {
       auto bytes = BuildBmp(SixColours(), {});
       bytes[14] = 0xFF;
       return bytes;
     }},
    {"BmpOfHundredThousandSquare",
     [] {
       auto bytes = BuildBmp(SixColours(), {});
       bytes[18] = bytes[22] = 0xA0;
       bytes[19] = bytes[23] = 0x86;
       bytes[20] = bytes[24] = 0x01;
       return bytes;
     }},
    {"GifOfHugeScreen",
     [] {
       auto bytes = GifBytes();
       std::fill(bytes.begin() + 6, bytes.begin() + 10, 0xFF);
       return bytes;
     }},
    {"RleDataRunningOut",
     [] {
       return BuildRleBmp(4, 4, kRle8, {kRed}, {4, 0, 0, 0, 4, 0, 0, 0, 4});
     }},
};

class ConverterWithBadPicture : public Converter, public testing::WithParamInterface<BadPicture> {};

TEST_P(ConverterWithBadPicture, LeavesTheOldBitmapExactlyAsItWas) {
  const std::vector<uint8_t> old_bitmap = BuildBmp(SixColours(), {});
  WriteFile(target_, old_bitmap);
  WriteFile(pictures_ / "bad.jpg", GetParam().make());
  EXPECT_FALSE(converter_.ConvertToBitmap(pictures_ / "bad.jpg", target_));
  EXPECT_EQ(ReadBytes(target_), old_bitmap);
  EXPECT_EQ(Names(output_.path()), std::vector<std::string>{"vellumo.bmp"}) << "no temporary file";
}

TEST_F(Converter, MissingPictureLeavesTheOldBitmap) {
  WriteFile(target_, {7, 7, 7});
  EXPECT_FALSE(converter_.ConvertToBitmap(pictures_ / "none.jpg", target_));
  EXPECT_FALSE(converter_.ConvertToBitmap("", target_));
  EXPECT_EQ(ReadBytes(target_), (std::vector<uint8_t>{7, 7, 7}));
}

// Opening a pipe for reading waits for a writer; the converter must refuse it at once, whether
// named directly or through a link with a picture's name.
TEST_F(Converter, NamedPipeIsRefusedWithoutWaiting) {
  const std::string pipe = pictures_ / "pipe.jpg";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  std::filesystem::create_symlink(pipe, pictures_ / "link.jpg");
  EXPECT_FALSE(converter_.ConvertToBitmap(pipe, target_));
  EXPECT_FALSE(converter_.ConvertToBitmap(pictures_ / "link.jpg", target_));
  EXPECT_FALSE(converter_.ConvertToBitmap("/dev/null", target_));
}

INSTANTIATE_TEST_SUITE_P(Bad, ConverterWithBadPicture, testing::ValuesIn(kBadPictures),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vellumo::test
