#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bitmap24.h"
#include "picture_decoder.h"
#include "temp_folder.h"

namespace vellumo::test {

// 3 x 2, six colours, every channel 0 or 255 so that 5- and 6-bit channels hold them exactly.
Picture SixColours();
// 3 x 2 in two colours, for 1-bit files.
Picture TwoColours();

// Decodes `path` (with DecodePicture, or another decoder of the same form) and checks that every
// row arrived exactly once with the declared width.
struct Decoded {
  std::optional<PixelSize> size;
  Picture picture;
  bool size_reported = false;
  bool rows_once = true;
};
using PathDecoder = std::function<std::optional<PixelSize>(const std::string&, const SizeHandler&,
                                                           const RowHandler&)>;
Decoded Decode(
    const std::string& path,
    const PathDecoder& decoder = [](const std::string& file, const SizeHandler& on_size,
                                    const RowHandler& on_row) {
      return DecodePicture(file, on_size, on_row);
    });

// JPEG writer options.
enum class JpegKind { kRgb, kGray, kCmykAdobe, kProgressive };
// Writes `picture` as a JPEG at quality 95. For kGray the red channel is the grey level; for
// kCmykAdobe the colours are stored as inverted CMYK with an Adobe marker.
// With an orientation other than 1 the file carries it in an EXIF segment, as cameras write it.
void WriteJpeg(const std::filesystem::path& path, const Picture& picture, JpegKind kind,
               int orientation = 1);
// An APP1 segment's data holding only an orientation, in either byte order.
std::vector<uint8_t> ExifWithOrientation(int orientation, bool big_endian = false);

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
