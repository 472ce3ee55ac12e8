#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace vellumo {

struct PixelSize {
  int width = 0;
  int height = 0;
};

// Called once with the picture's pixel size before any row; returning false stops decoding.
using SizeHandler = std::function<bool(PixelSize)>;
// Called once per row with width x 3 bytes, blue-green-red; y = 0 is the top row. Rows come in
// whatever order the file stores them. Returning false stops decoding.
using RowHandler = std::function<bool(int y, std::span<const uint8_t> bgr)>;

// Loads a picture (BMP, JPEG, GIF) and writes it as a 24-bit Windows bitmap.
class PictureConverter {
 public:
  virtual ~PictureConverter() = default;

  // Writes the whole picture at its pixel size to `bitmap`. The new file replaces the old one
  // only once it is complete: on any failure (missing, corrupt, truncated or absurdly large
  // picture, unwritable folder) the old bitmap stays exactly as it was and nothing is returned.
  virtual std::optional<PixelSize> ConvertToBitmap(const std::string& picture,
                                                   const std::string& bitmap) = 0;
};

}  // namespace vellumo
