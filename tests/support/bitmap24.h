#pragma once

// Plain 24-bit Windows bitmaps, written and read back byte by byte: the pictures every platform's
// tests start from, and the form the program leaves its wallpaper in.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellumo::test {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kYellow{255, 255, 0},
    kCyan{0, 255, 255}, kWhite{255, 255, 255}, kBlack{0, 0, 0}, kMagenta{255, 0, 255};

// A small picture held top row first.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;
  Rgb At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The colour of pixel (x, y), y = 0 at the top.
using PixelAt = std::function<Rgb(int x, int y)>;

PixelAt Solid(Rgb colour);
// Red, green / blue, white quadrants: plain areas that survive scaling and JPEG away from the
// edges, and show a mirrored or swapped picture.
Rgb Quadrants(int x, int y, int width, int height);

// A 24-bit bottom-up bitmap.
std::string Bmp24(int width, int height, const PixelAt& pixel);
// Only the headers of a 24-bit bitmap claiming the given size, followed by `data_bytes` zeros.
std::string Bmp24Headers(int width, int height, int data_bytes);

// The picture in a complete, uncompressed 24-bit bitmap (bottom-up or top-down); nothing for
// any other bytes.
std::optional<Picture> ParseBmp24(std::string_view bytes);

}  // namespace vellumo::test
