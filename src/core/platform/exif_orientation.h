#pragma once

#include <cstdint>
#include <span>

namespace vellumo {

// The orientation a camera recorded for its picture, as EXIF numbers it: 1 upright, 2 mirrored
// left to right, 3 turned half round, 4 mirrored top to bottom, 5 mirrored along the main
// diagonal, 6 to be turned a quarter clockwise, 7 mirrored along the other diagonal, 8 to be
// turned a quarter anticlockwise.
inline constexpr int kUpright = 1;

// The orientation held in a JPEG's APP1 segment (its data after the marker and length: "Exif",
// two NULs, then a TIFF header and the first image directory). 1 for anything else, damaged or
// truncated data included.
int ExifOrientation(std::span<const uint8_t> app1);

// The orientation of a JPEG file from its first bytes (the segments before the picture data
// come first; 64 KiB holds them in practice): that of the first APP1 segment with EXIF data.
// 1 when there is none, or for anything that is no JPEG.
int JpegOrientation(std::span<const uint8_t> head);

}  // namespace vellumo
