#include "bitmap24.h"

namespace vellumo::test {
namespace {

void Put(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

uint32_t Get(std::string_view in, size_t at, int bytes) {
  uint32_t value = 0;
  for (int i = 0; i < bytes; ++i)
    value |= static_cast<uint32_t>(static_cast<uint8_t>(in[at + i])) << (8 * i);
  return value;
}

int Stride(int width) {
  return (width * 3 + 3) & ~3;
}

}  // namespace

PixelAt Solid(Rgb colour) {
  return [colour](int, int) { return colour; };
}

Rgb Quadrants(int x, int y, int width, int height) {
  const bool right = x >= width / 2, bottom = y >= height / 2;
  if (!bottom) return right ? kGreen : kRed;
  return right ? kWhite : kBlue;
}

std::string Bmp24Headers(int width, int height, int data_bytes) {
  const uint32_t image = static_cast<uint32_t>(int64_t{Stride(width)} * height);
  std::string out = "BM";
  Put(out, 54 + image, 4);
  Put(out, 0, 4);
  Put(out, 54, 4);
  Put(out, 40, 4);
  Put(out, static_cast<uint32_t>(width), 4);
  Put(out, static_cast<uint32_t>(height), 4);
  Put(out, 1, 2);
  Put(out, 24, 2);
  for (uint32_t value : {0u, image, 2835u, 2835u, 0u, 0u}) Put(out, value, 4);
  out.append(static_cast<size_t>(data_bytes), '\0');
  return out;
}

std::string Bmp24(int width, int height, const PixelAt& pixel) {
  std::string out = Bmp24Headers(width, height, 0);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const Rgb c = pixel(x, y);
      out += {static_cast<char>(c.b), static_cast<char>(c.g), static_cast<char>(c.r)};
    }
    out.append(static_cast<size_t>(Stride(width) - width * 3), '\0');
  }
  return out;
}

std::optional<Picture> ParseBmp24(std::string_view bytes) {
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  const uint32_t offset = Get(bytes, 10, 4);
  const auto width = static_cast<int32_t>(Get(bytes, 18, 4));
  const auto height = static_cast<int32_t>(Get(bytes, 22, 4));
  if (Get(bytes, 28, 2) != 24 || Get(bytes, 30, 4) != 0 || width <= 0 || height == 0)
    return std::nullopt;
  Picture picture{width, height < 0 ? -height : height, {}};
  const size_t stride = static_cast<size_t>(Stride(width));
  if (bytes.size() < offset + stride * picture.height) return std::nullopt;
  for (int y = 0; y < picture.height; ++y) {
    const int stored_row = height > 0 ? picture.height - 1 - y : y;
    const size_t row = offset + stride * stored_row;
    for (int x = 0; x < width; ++x) {
      const auto* p = reinterpret_cast<const uint8_t*>(bytes.data() + row + x * 3);
      picture.pixels.push_back({p[2], p[1], p[0]});
    }
  }
  return picture;
}

}  // namespace vellumo::test
