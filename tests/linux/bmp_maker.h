#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vellumo::testing {

// A 24-bit bottom-up bitmap of one colour, for tests that need any valid picture.
inline std::string SolidBitmap(int width, int height, uint8_t blue, uint8_t green, uint8_t red) {
  const int stride = (width * 3 + 3) & ~3;
  const uint32_t pixels = static_cast<uint32_t>(stride * height);
  std::string out;
  auto put = [&out](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  out += "BM";
  put(54 + pixels, 4);
  put(0, 4);
  put(54, 4);
  put(40, 4);
  put(static_cast<uint32_t>(width), 4);
  put(static_cast<uint32_t>(height), 4);
  put(1, 2);
  put(24, 2);
  put(0, 4);
  put(pixels, 4);
  put(2835, 4);
  put(2835, 4);
  put(0, 4);
  put(0, 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      out += static_cast<char>(blue);
      out += static_cast<char>(green);
      out += static_cast<char>(red);
    }
    out.append(static_cast<size_t>(stride - width * 3), '\0');
  }
  return out;
}

// Width and height from a bitmap's info header, or {0, 0} when it is no 24-bit bitmap.
struct BitmapFacts {
  int width = 0;
  int height = 0;
  int bits = 0;
};

inline BitmapFacts ReadBitmapFacts(const std::string& data) {
  if (data.size() < 54 || data[0] != 'B' || data[1] != 'M') return {};
  auto get = [&data](size_t at, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | static_cast<uint8_t>(data[at + i]);
    return value;
  };
  return {static_cast<int>(get(18, 4)), static_cast<int>(static_cast<int32_t>(get(22, 4))),
          static_cast<int>(get(28, 2))};
}

}  // namespace vellumo::testing
