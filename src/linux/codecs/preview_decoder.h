#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/pictures.h"

namespace vellumo {

// A picture decoded for the settings window's preview.
struct PreviewPixels {
  PixelSize full;  // the picture's own upright size, for the caption
  int width = 0;   // size of `bgra`
  int height = 0;
  // Top row first, 4 bytes a pixel (blue, green, red, 255), stride width * 4: QImage's
  // Format_RGB32 on a little-endian machine.
  std::vector<uint8_t> bgra;
};

// Decodes `path` at least at the size `wanted` asks for its upright full size, so the view only
// ever scales down, but far smaller than the picture when that is large. A JPEG is scaled by
// libjpeg's DCT scaling while it decodes; a BMP or GIF is decoded whole and sampled down row by
// row. Turned upright by its EXIF orientation, as the wallpaper is. Nothing when the picture
// cannot be loaded.
std::optional<PreviewPixels> DecodePreview(const std::string& path, const WantedSize& wanted);

}  // namespace vellumo
