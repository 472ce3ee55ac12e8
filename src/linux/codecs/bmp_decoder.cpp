#include <bit>
#include <cstring>
#include <vector>

#include "bmp_layout.h"
#include "decoders.h"
#include "platform/bitmap_file.h"

namespace vellumo::codecs {
namespace {

// One colour channel of a 16- or 32-bit pixel: its mask, scaled to 8 bits.
class Channel {
 public:
  explicit Channel(uint32_t mask)
      : mask_(mask),
        shift_(mask == 0 ? 0 : std::countr_zero(mask)),
        bits_(mask == 0 ? 0 : std::bit_width(mask >> shift_)) {}

  uint8_t operator()(uint32_t pixel) const {
    const uint32_t value = (pixel & mask_) >> shift_;
    if (bits_ == 0) return 0;
    if (bits_ >= 8) return static_cast<uint8_t>(value >> (bits_ - 8));
    const uint32_t max = (1u << bits_) - 1;
    return static_cast<uint8_t>((value * 255 + max / 2) / max);
  }

 private:
  uint32_t mask_;
  int shift_;
  int bits_;
};

// Turns one stored row of an uncompressed bitmap into blue-green-red.
class RowConverter {
 public:
  explicit RowConverter(const BmpLayout& layout)
      : layout_(layout), red_(layout.masks[0]), green_(layout.masks[1]), blue_(layout.masks[2]) {
    if (layout.bits_per_pixel == 16) BuildTable16();
    default_32_ = layout.bits_per_pixel == 32 && layout.masks[0] == 0xFF0000 &&
                  layout.masks[1] == 0xFF00 && layout.masks[2] == 0xFF;
  }

  // Returns the row to hand on: the stored row itself when it is already blue-green-red.
  const uint8_t* Convert(const uint8_t* raw, uint8_t* bgr) const {
    const int64_t width = layout_.width;
    switch (layout_.bits_per_pixel) {
      case 24:
        return raw;
      case 32:
        Convert32(raw, bgr, width);
        return bgr;
      case 16:
        for (int64_t x = 0; x < width; ++x) {
          std::memcpy(bgr + x * 3, &table16_[(raw[x * 2] | (raw[x * 2 + 1] << 8)) * 3], 3);
        }
        return bgr;
      default:
        ConvertIndexed(raw, bgr, width);
        return bgr;
    }
  }

 private:
  void BuildTable16() {
    table16_.resize(65536 * 3);
    for (uint32_t v = 0; v < 65536; ++v) {
      table16_[v * 3] = blue_(v);
      table16_[v * 3 + 1] = green_(v);
      table16_[v * 3 + 2] = red_(v);
    }
  }

  void Convert32(const uint8_t* raw, uint8_t* bgr, int64_t width) const {
    if (default_32_) {
      for (int64_t x = 0; x < width; ++x) std::memcpy(bgr + x * 3, raw + x * 4, 3);
      return;
    }
    for (int64_t x = 0; x < width; ++x) {
      const uint32_t v = Le32(raw + x * 4);
      bgr[x * 3] = blue_(v);
      bgr[x * 3 + 1] = green_(v);
      bgr[x * 3 + 2] = red_(v);
    }
  }

  void ConvertIndexed(const uint8_t* raw, uint8_t* bgr, int64_t width) const {
    const int bpp = layout_.bits_per_pixel;
    const int per_byte = 8 / bpp;
    const uint32_t index_mask = (1u << bpp) - 1;
    for (int64_t x = 0; x < width; ++x) {
      const int shift = 8 - bpp * (1 + static_cast<int>(x % per_byte));
      const uint32_t index = (raw[x / per_byte] >> shift) & index_mask;
      std::memcpy(bgr + x * 3, layout_.palette[index].data(), 3);
    }
  }

  const BmpLayout& layout_;
  Channel red_, green_, blue_;
  bool default_32_ = false;
  std::vector<uint8_t> table16_;
};

int64_t FileSize(std::FILE* file) {
  if (std::fseek(file, 0, SEEK_END) != 0) return -1;
  return std::ftell(file);
}

std::optional<PixelSize> DecodeUncompressed(std::FILE* file, const BmpLayout& layout,
                                            const SizeHandler& on_size, const RowHandler& on_row) {
  // Sensible sizes keep the products below in range.
  if (!IsSensibleBitmapSize(layout.width, layout.height)) return std::nullopt;
  const int64_t stride = (layout.width * layout.bits_per_pixel + 31) / 32 * 4;
  // Refuse a truncated file before anything is allocated or reported.
  const int64_t size = FileSize(file);
  if (size < 0 || layout.pixel_offset + stride * layout.height > size) return std::nullopt;
  if (!AcceptSize(layout.width, layout.height, on_size)) return std::nullopt;
  if (std::fseek(file, layout.pixel_offset, SEEK_SET) != 0) return std::nullopt;

  const RowConverter converter(layout);
  std::vector<uint8_t> raw(stride);
  std::vector<uint8_t> bgr(layout.bits_per_pixel == 24 ? 0 : layout.width * 3);
  const auto row_bytes = static_cast<size_t>(layout.width * 3);
  for (int64_t row = 0; row < layout.height; ++row) {
    if (std::fread(raw.data(), 1, raw.size(), file) != raw.size()) return std::nullopt;
    const int64_t y = layout.top_down ? row : layout.height - 1 - row;
    const uint8_t* out = converter.Convert(raw.data(), bgr.data());
    if (!on_row(static_cast<int>(y), {out, row_bytes})) return std::nullopt;
  }
  return PixelSize{static_cast<int>(layout.width), static_cast<int>(layout.height)};
}

}  // namespace

std::optional<PixelSize> DecodeBmp(std::FILE* file, const SizeHandler& on_size,
                                   const RowHandler& on_row) {
  const auto layout = ReadBmpLayout(file);
  if (!layout) return std::nullopt;
  if (layout->compression == kBiRle8 || layout->compression == kBiRle4) {
    return DecodeRunLength(file, *layout, on_size, on_row);
  }
  return DecodeUncompressed(file, *layout, on_size, on_row);
}

}  // namespace vellumo::codecs
