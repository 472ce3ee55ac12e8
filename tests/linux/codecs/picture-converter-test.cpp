#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <png.h>

#include <algorithm>
#include <filesystem>
#include <regex>

#include "bmp_builder.h"
#include "picture_converter.h"
#include "png_pixels.h"
#include "test_pictures.h"

namespace vellumo::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class Converter : public testing::Test {
 protected:
  // The picture in the file a conversion wrote, which must be a fresh name beside the place.
  Picture Written(const std::optional<WrittenBitmap>& written) {
    EXPECT_TRUE(written.has_value());
    if (!written) return {};
    const fs::path path(written->path);
    EXPECT_EQ(path.parent_path(), output_.path());
    EXPECT_TRUE(
        std::regex_match(path.filename().string(), std::regex("vellumo-[A-Za-z0-9]{6}\\.png")))
        << path;
    const auto picture = ReadPng(written->path);
    EXPECT_TRUE(picture.has_value()) << "libpng refused " << path;
    EXPECT_EQ(picture.value_or(Picture{}).width, written->size.width);
    EXPECT_EQ(picture.value_or(Picture{}).height, written->size.height);
    return picture.value_or(Picture{});
  }

  TempFolder pictures_;
  TempFolder output_;
  std::string target_ = output_ / "vellumo.png";
  LinuxPictureConverter converter_;
};

TEST_F(Converter, WritesThePictureAsAPngUnderAFreshName) {
  const Picture picture{5,
                        3,
                        {kRed, kGreen, kBlue, kWhite, kBlack, kYellow, kCyan, kMagenta, kRed,
                         kGreen, kBlue, kBlack, kWhite, kCyan, kRed}};
  WriteFile(pictures_ / "in.bmp", BuildBmp(picture, {.bits = 24, .top_down = true}));
  const auto written = converter_.ConvertToBitmap(pictures_ / "in.bmp", target_);
  EXPECT_EQ(Written(written).pixels, picture.pixels);
  EXPECT_EQ(Names(output_.path()), std::vector<std::string>{fs::path(written->path).filename()});
}

// Desktops ignore a path they already show. Removing the earlier file is the caller's step, once
// the desktop shows the new one: until then both stay complete.
TEST_F(Converter, EachConversionGetsANewFile) {
  WriteGif(pictures_ / "a.gif", {2, 1, {kRed, kBlue}, 0, {{0, 0, 2, 1, false, -1, {}, {1, 0}}}});
  const auto first = converter_.ConvertToBitmap(pictures_ / "a.gif", target_);
  const auto second = converter_.ConvertToBitmap(pictures_ / "a.gif", target_);
  EXPECT_EQ(Written(first).pixels, (std::vector<Rgb>{kBlue, kRed}));
  EXPECT_EQ(Written(second).pixels, (std::vector<Rgb>{kBlue, kRed}));
  EXPECT_NE(first->path, second->path);
}

TEST_F(Converter, ConvertsAJpegAtItsPixelSize) {
  Picture picture{33, 17, std::vector<Rgb>(33 * 17, kGreen)};
  WriteJpeg(pictures_ / "p.jpg", picture, JpegKind::kRgb);
  const Picture written = Written(converter_.ConvertToBitmap(pictures_ / "p.jpg", target_));
  EXPECT_EQ(written.width, 33);
  EXPECT_EQ(written.height, 17);
}

// A photo marked to be turned a quarter clockwise comes out upright, width and height swapped.
TEST_F(Converter, TurnsAPhotoUprightByItsOrientation) {
  Picture picture{24, 16, {}};
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 24; ++x) picture.pixels.push_back(x < 12 ? kRed : kBlue);
  WriteJpeg(pictures_ / "turned.jpg", picture, JpegKind::kRgb, 6);
  const Picture written = Written(converter_.ConvertToBitmap(pictures_ / "turned.jpg", target_));
  ASSERT_EQ(written.width, 16);
  ASSERT_EQ(written.height, 24);
  const auto near = [](Rgb a, Rgb b) {
    return std::abs(a.r - b.r) < 40 && std::abs(a.g - b.g) < 40 && std::abs(a.b - b.b) < 40;
  };
  EXPECT_TRUE(near(written.At(8, 2), kRed)) << "the left half is now on top";
  EXPECT_TRUE(near(written.At(8, 21), kBlue));
}

// The system's own words, and whose fault it is: the picture's (another may do) or the
// wallpaper file's place (no picture will).
TEST_F(Converter, SaysWhyWithTheSystemsWords) {
  WriteFile(pictures_ / "in.bmp", BuildBmp(SixColours(), {}));
  ConversionFailure failure;
  EXPECT_FALSE(
      converter_.ConvertToBitmap(pictures_ / "in.bmp", output_ / "gone/vellumo.png", failure));
  EXPECT_FALSE(failure.picture_at_fault);
  EXPECT_EQ(failure.reason, "No such file or directory");
  EXPECT_FALSE(converter_.ConvertToBitmap(pictures_ / "none.jpg", target_, failure));
  EXPECT_TRUE(failure.picture_at_fault);
  EXPECT_EQ(failure.reason, "No such file or directory");
}

// A full disk is the place's fault, told as such; needs a small file system of its own.
TEST_F(Converter, AFullDiskIsToldAsSuch) {
  const std::string tiny = output_ / "tiny";
  fs::create_directory(tiny);
  if (mount("tmpfs", tiny.c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "cannot mount a small file system here";
  }
  WriteFile(pictures_ / "big.bmp", BuildBmp(Picture{200, 200, std::vector<Rgb>(40000, kRed)}, {}));
  ConversionFailure failure;
  const auto written =
      converter_.ConvertToBitmap(pictures_ / "big.bmp", tiny + "/vellumo.png", failure);
  const auto left = Names(tiny);
  umount(tiny.c_str());
  EXPECT_FALSE(written);
  EXPECT_FALSE(failure.picture_at_fault);
  EXPECT_EQ(failure.reason, "No space left on device");
  EXPECT_TRUE(left.empty()) << "no partial file";
}

struct BadPicture {
  const char* name;
  std::vector<uint8_t> (*make)();
  const char* reason;  // what the user is told
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
    {"Empty", [] { return std::vector<uint8_t>{}; }, "empty file"},
    {"Text", [] { return std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o', '\n', 'w', 'o', 'r'}; },
     "not a picture (BMP, JPEG or GIF)"},
    {"TruncatedJpeg", [] { return Half(JpegBytes()); }, "cut short"},
    {"TruncatedGif", [] { return Half(GifBytes()); }, "cut short"},
    {"TruncatedBmp", [] { return Half(BuildBmp(SixColours(), {})); }, "cut short"},
    {"CorruptBmpHeader",
     [] {
       auto bytes = BuildBmp(SixColours(), {});
       bytes[14] = 0xFF;
       return bytes;
     },
     "damaged or too large"},
    {"BmpOfHundredThousandSquare",
     [] {
       auto bytes = BuildBmp(SixColours(), {});
       bytes[18] = bytes[22] = 0xA0;
       bytes[19] = bytes[23] = 0x86;
       bytes[20] = bytes[24] = 0x01;
       return bytes;
     },
     "damaged or too large"},
    {"GifOfHugeScreen",
     [] {
       auto bytes = GifBytes();
       std::fill(bytes.begin() + 6, bytes.begin() + 10, 0xFF);
       return bytes;
     },
     "damaged or too large"},
    {"RleDataRunningOut",
     [] {
       return BuildRleBmp(4, 4, kRle8, {kRed}, {4, 0, 0, 0, 4, 0, 0, 0, 4});
     },
     "cut short"},
    {"Png",
     [] {
       TempFolder dir;
       WritePng(dir / "p.png", SixColours(), PNG_FORMAT_RGB);
       return ReadBytes(dir / "p.png");
     },
     "not a picture (BMP, JPEG or GIF)"},
};

class ConverterWithBadPicture : public Converter, public testing::WithParamInterface<BadPicture> {};

TEST_P(ConverterWithBadPicture, LeavesNothingNewAndTheOldFileExactlyAsItWas) {
  const std::string old_file = output_ / "vellumo-Old123.png";
  WriteFile(old_file, "the wallpaper shown now");
  WriteFile(pictures_ / "bad.jpg", GetParam().make());
  ConversionFailure failure;
  EXPECT_FALSE(converter_.ConvertToBitmap(pictures_ / "bad.jpg", target_, failure));
  EXPECT_TRUE(failure.picture_at_fault);
  EXPECT_EQ(failure.reason, GetParam().reason);
  EXPECT_EQ(ReadFile(old_file), "the wallpaper shown now");
  EXPECT_EQ(Names(output_.path()), std::vector<std::string>{"vellumo-Old123.png"})
      << "no partial file";
}

TEST_F(Converter, MissingPictureWritesNothing) {
  EXPECT_FALSE(converter_.ConvertToBitmap(pictures_ / "none.jpg", target_));
  EXPECT_FALSE(converter_.ConvertToBitmap("", target_));
  EXPECT_TRUE(Names(output_.path()).empty());
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
