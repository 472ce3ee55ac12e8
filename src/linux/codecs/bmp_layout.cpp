#include "bmp_layout.h"

#include <cstdint>
#include <limits>

namespace vellumo::codecs {
namespace {

constexpr uint32_t kCoreHeader = 12;  // OS/2 1.x: 16-bit sizes, 3-byte palette entries

bool ReadExact(std::FILE* file, uint8_t* out, size_t size) {
  return std::fread(out, 1, size, file) == size;
}

bool IsKnownHeaderSize(uint32_t size) {
  switch (size) {
    case 16:  // OS/2 2.x, short form
    case 40:
    case 52:
    case 56:
    case 64:  // OS/2 2.x
    case 108:
    case 124:
      return true;
    default:
      return false;
  }
}

bool IsOs2Header(uint32_t size) {
  return size == 16 || size == 64;
}

bool IsSupportedFormat(int bpp, uint32_t compression) {
  switch (compression) {
    case kBiRgb:
      return bpp == 1 || bpp == 2 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
    case kBiRle8:
      return bpp == 8;
    case kBiRle4:
      return bpp == 4;
    case kBiBitfields:
    case kBiAlphaBitfields:
      return bpp == 16 || bpp == 32;
    default:
      return false;  // JPEG or PNG inside a bitmap, OS/2 Huffman and RLE24
  }
}

void SetDefaultMasks(BmpLayout& layout) {
  if (layout.bits_per_pixel == 16) layout.masks = {0x7C00, 0x03E0, 0x001F};
  if (layout.bits_per_pixel == 32) layout.masks = {0xFF0000, 0x00FF00, 0x0000FF};
}

// Masks sit inside V2 and later headers, and right after a 40-byte header.
bool ReadMasks(std::FILE* file, const uint8_t* header, uint32_t header_size, BmpLayout& layout) {
  if (layout.compression != kBiBitfields && layout.compression != kBiAlphaBitfields) {
    SetDefaultMasks(layout);
    return true;
  }
  if (header_size >= 52) {
    layout.masks = {Le32(header + 40), Le32(header + 44), Le32(header + 48)};
    return true;
  }
  std::array<uint8_t, 16> masks{};
  const size_t count = layout.compression == kBiAlphaBitfields ? 16 : 12;
  if (!ReadExact(file, masks.data(), count)) return false;
  layout.masks = {Le32(&masks[0]), Le32(&masks[4]), Le32(&masks[8])};
  return true;
}

bool ReadPalette(std::FILE* file, uint32_t colours_used, int entry_size, BmpLayout& layout) {
  if (layout.bits_per_pixel > 8) return true;  // an optional palette of a true-colour file
  const uint32_t full = 1u << layout.bits_per_pixel;
  const uint32_t count = colours_used == 0 || colours_used > full ? full : colours_used;
  for (uint32_t i = 0; i < count; ++i) {
    std::array<uint8_t, 4> entry{};
    if (!ReadExact(file, entry.data(), entry_size)) return false;
    layout.palette[i] = {entry[0], entry[1], entry[2]};
  }
  return true;
}

bool SetSize(int64_t width, int64_t height, BmpLayout& layout) {
  if (width <= 0 || height == 0 || height == std::numeric_limits<int32_t>::min()) return false;
  layout.width = width;
  layout.top_down = height < 0;
  layout.height = height < 0 ? -height : height;
  // Run-length data is always stored bottom-up.
  return !(layout.top_down && (layout.compression == kBiRle8 || layout.compression == kBiRle4));
}

}  // namespace

std::optional<BmpLayout> ReadBmpLayout(std::FILE* file) {
  std::array<uint8_t, 14> file_header{};
  std::array<uint8_t, 124> header{};
  if (!ReadExact(file, file_header.data(), file_header.size())) return std::nullopt;
  if (file_header[0] != 'B' || file_header[1] != 'M') return std::nullopt;
  if (!ReadExact(file, header.data(), 4)) return std::nullopt;
  const uint32_t header_size = Le32(header.data());
  if (header_size != kCoreHeader && !IsKnownHeaderSize(header_size)) return std::nullopt;
  if (!ReadExact(file, header.data() + 4, header_size - 4)) return std::nullopt;

  BmpLayout layout;
  int64_t width = 0;
  int64_t height = 0;
  uint32_t colours_used = 0;
  if (header_size == kCoreHeader) {
    width = Le16(&header[4]);
    height = Le16(&header[6]);
    layout.bits_per_pixel = static_cast<int>(Le16(&header[10]));
  } else {
    width = static_cast<int32_t>(Le32(&header[4]));
    height = static_cast<int32_t>(Le32(&header[8]));
    layout.bits_per_pixel = static_cast<int>(Le16(&header[14]));
    layout.compression = Le32(&header[16]);
    colours_used = Le32(&header[32]);
    // OS/2 numbers its Huffman and RLE24 methods 3 and 4, where Windows has bit fields.
    if (IsOs2Header(header_size) && layout.compression > kBiRle4) return std::nullopt;
  }
  if (!IsSupportedFormat(layout.bits_per_pixel, layout.compression)) return std::nullopt;
  if (!SetSize(width, height, layout)) return std::nullopt;
  if (!ReadMasks(file, header.data(), header_size, layout)) return std::nullopt;
  const int entry_size = header_size == kCoreHeader ? 3 : 4;
  if (!ReadPalette(file, colours_used, entry_size, layout)) return std::nullopt;

  const uint32_t offset = Le32(&file_header[10]);
  // A zero offset is taken to mean "right after the palette", where writers put the pixels.
  layout.pixel_offset = offset != 0 ? offset : std::ftell(file);
  return layout;
}

}  // namespace vellumo::codecs
