#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/pictures.h"

namespace vellumo {

// Display-mode codes of the setting iDisplayType.
enum DisplayType : int16_t { kAuto = 0, kStretch = 1, kCenter = 2, kTile = 3 };

// A pixel size as a picture reports it, in hundredths of a millimetre (halves away from zero).
int64_t PixelsToHimetric(int64_t pixels, int dpi);
// Back to pixels, halves to the even neighbour.
int64_t HimetricToPixels(int64_t himetric, int dpi);

// "TILED", "STRETCH", "CENTER", or the empty text for an unknown code. In the automatic mode a
// picture without height has no aspect ratio: the result is then nothing.
std::optional<std::string> Choose_Display_Mode(int16_t display_type, PixelSize picture, int dpi,
                                               int16_t auto_size, int16_t auto_ratio);

}  // namespace vellumo
