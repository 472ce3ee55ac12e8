#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "picture_decoder.h"

namespace vellumo::codecs {

inline constexpr uint32_t kBiRgb = 0;
inline constexpr uint32_t kBiRle8 = 1;
inline constexpr uint32_t kBiRle4 = 2;
inline constexpr uint32_t kBiBitfields = 3;
inline constexpr uint32_t kBiAlphaBitfields = 6;

// Little-endian fields, as every bitmap stores them.
inline uint32_t Le16(const uint8_t* p) {
  return p[0] | (p[1] << 8);
}
inline uint32_t Le32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// What the headers of a Windows or OS/2 bitmap say about its pixels.
struct BmpLayout {
  int64_t width = 0;
  int64_t height = 0;  // always positive; see top_down
  bool top_down = false;
  int bits_per_pixel = 0;
  uint32_t compression = kBiRgb;
  std::array<uint32_t, 3> masks{};  // red, green, blue for 16 and 32 bits per pixel
  // Palette as blue-green-red; entries the file does not define are black, so any 8-bit
  // index is safe to look up.
  std::array<std::array<uint8_t, 3>, 256> palette{};
  int64_t pixel_offset = 0;
};

// Reads the file header, the info header (every size Windows reads, and the OS/2 ones), the
// colour masks and the palette. Nothing for an unknown or unsupported variant.
std::optional<BmpLayout> ReadBmpLayout(std::FILE* file);

// Decodes RLE8 and RLE4 pixel data. Pixels the data skips or leaves out are black.
std::optional<PixelSize> DecodeRunLength(std::FILE* file, const BmpLayout& layout,
                                         const SizeHandler& on_size, const RowHandler& on_row);

}  // namespace vellumo::codecs
