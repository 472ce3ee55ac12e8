#pragma once

#include <optional>
#include <string>

namespace vellumo {

struct PixelSize {
  int width = 0;
  int height = 0;
};

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
