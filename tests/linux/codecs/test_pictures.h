#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "picture_decoder.h"

namespace vellumo::test {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// A small picture held top row first.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;
  Rgb At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

inline constexpr Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kYellow{255, 255, 0},
    kCyan{0, 255, 255}, kWhite{255, 255, 255}, kBlack{0, 0, 0}, kMagenta{255, 0, 255};

// 3 x 2, six colours, every channel 0 or 255 so that 5- and 6-bit channels hold them exactly.
Picture SixColours();
// 3 x 2 in two colours, for 1-bit files.
Picture TwoColours();

// Decodes `path` and checks that every row arrived exactly once with the declared width.
struct Decoded {
  std::optional<PixelSize> size;
  Picture picture;
  bool size_reported = false;
  bool rows_once = true;
};
Decoded Decode(const std::string& path);

// A folder under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadBytes(const std::filesystem::path& path);

// JPEG writer options.
enum class JpegKind { kRgb, kGray, kCmykAdobe, kProgressive };
// Writes `picture` as a JPEG at quality 95. For kGray the red channel is the grey level; for
// kCmykAdobe the colours are stored as inverted CMYK with an Adobe marker.
void WriteJpeg(const std::filesystem::path& path, const Picture& picture, JpegKind kind);

// One frame of a GIF written with giflib, as colour indices into `colours` (local when
// `local` is set, else the global table).
struct GifFrame {
  int left = 0, top = 0, width = 0, height = 0;
  bool interlaced = false;
  int transparent = -1;
  std::vector<Rgb> local;
  std::vector<uint8_t> indices;  // top row first
};
struct GifRecipe {
  int width = 0, height = 0;
  std::vector<Rgb> global;  // empty: no global table
  int background = 0;
  std::vector<GifFrame> frames;
};
void WriteGif(const std::filesystem::path& path, const GifRecipe& recipe);

}  // namespace vellumo::test
