#pragma once

#include <cstdint>
#include <vector>

#include "test_pictures.h"

namespace vellumo::test {

inline constexpr uint32_t kRgbCompression = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3,
                          kAlphaBitfields = 6;

// How a test bitmap is laid out.
struct BmpRecipe {
  const char* name = "";
  uint32_t header_size = 40;  // 12 is the OS/2 1.x core header
  int bits = 24;
  uint32_t compression = kRgbCompression;
  bool top_down = false;
  std::vector<uint32_t> masks;  // red, green, blue (and alpha) when bit fields are used
  uint32_t colours_used = 0;    // 0: the full palette is written
  uint32_t gap = 0;             // bytes between the palette and the pixels
};

// Writes `picture` by hand in the layout `recipe` asks for. Indexed layouts get a palette of the
// picture's colours in order of appearance.
std::vector<uint8_t> BuildBmp(const Picture& picture, const BmpRecipe& recipe);

// A bitmap with the given palette and run-length data, bottom-up unless `height` < 0.
std::vector<uint8_t> BuildRleBmp(int width, int height, uint32_t compression,
                                 const std::vector<Rgb>& palette, const std::vector<uint8_t>& data);

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes);

}  // namespace vellumo::test
