#include "pixel_packer.h"

#include <bit>

namespace vellumo {

PixelPacker::PixelPacker(unsigned long red_mask, unsigned long green_mask, unsigned long blue_mask)
    : red_(TableFor(red_mask)), green_(TableFor(green_mask)), blue_(TableFor(blue_mask)) {}

PixelPacker::Table PixelPacker::TableFor(unsigned long mask) {
  Table table{};
  if (mask == 0) return table;
  int shift = std::countr_zero(mask);
  int bits = std::popcount(mask);
  uint64_t top = (uint64_t{1} << bits) - 1;
  for (uint32_t value = 0; value < 256; ++value) {
    // Rounded scaling, so 255 fills the channel and 0 leaves it empty whatever its width.
    uint64_t scaled = (value * top + 127) / 255;
    table[value] = static_cast<uint32_t>((scaled << shift) & mask);
  }
  return table;
}

}  // namespace vellumo
