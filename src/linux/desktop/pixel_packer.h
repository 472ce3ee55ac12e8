#pragma once

#include <array>
#include <cstdint>

namespace vellumo {

// Turns 8-bit red, green and blue into a TrueColor pixel value for any channel masks
// (0xFF0000/0xFF00/0xFF, their mirror image, 5-6-5, 10-bit channels, ...).
class PixelPacker {
 public:
  PixelPacker(unsigned long red_mask, unsigned long green_mask, unsigned long blue_mask);

  uint32_t Pack(uint8_t red, uint8_t green, uint8_t blue) const {
    return red_[red] | green_[green] | blue_[blue];
  }

 private:
  using Table = std::array<uint32_t, 256>;
  static Table TableFor(unsigned long mask);

  Table red_;
  Table green_;
  Table blue_;
};

}  // namespace vellumo
