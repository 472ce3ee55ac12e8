#include "bmp_builder.h"

#include <algorithm>
#include <bit>

namespace vellumo::test {
namespace {

std::vector<Rgb> PaletteOf(const Picture& picture) {
  std::vector<Rgb> palette;
  for (const Rgb& c : picture.pixels) {
    if (std::find(palette.begin(), palette.end(), c) == palette.end()) palette.push_back(c);
  }
  return palette;
}

uint32_t Pack(const Rgb& c, const std::vector<uint32_t>& masks) {
  uint32_t value = 0;
  const uint8_t channels[3] = {c.r, c.g, c.b};
  for (int i = 0; i < 3; ++i) {
    if (masks[i] == 0) continue;
    const int shift = std::countr_zero(masks[i]);
    const uint32_t max = masks[i] >> shift;
    value |= (channels[i] * max / 255) << shift;
  }
  return value;
}

std::vector<uint32_t> MasksFor(const BmpRecipe& recipe) {
  if (!recipe.masks.empty()) return recipe.masks;
  if (recipe.bits == 16) return {0x7C00, 0x03E0, 0x001F};
  return {0xFF0000, 0x00FF00, 0x0000FF};
}

bool HasMasks(const BmpRecipe& recipe) {
  return recipe.compression == kBitfields || recipe.compression == kAlphaBitfields;
}

void PutInfoHeader(std::vector<uint8_t>& out, const BmpRecipe& recipe, int width, int height,
                   uint32_t colours) {
  const size_t start = out.size();
  PutLe(out, recipe.header_size, 4);
  if (recipe.header_size == 12) {
    PutLe(out, width, 2);
    PutLe(out, height, 2);
    PutLe(out, 1, 2);
    PutLe(out, recipe.bits, 2);
    return;
  }
  PutLe(out, width, 4);
  PutLe(out, static_cast<uint32_t>(recipe.top_down ? -height : height), 4);
  PutLe(out, 1, 2);
  PutLe(out, recipe.bits, 2);
  if (recipe.header_size > 16) {
    PutLe(out, recipe.compression, 4);
    PutLe(out, 0, 4);  // biSizeImage may be 0 for uncompressed files
    PutLe(out, 2835, 4);
    PutLe(out, 2835, 4);
    PutLe(out, colours, 4);
    PutLe(out, 0, 4);
  }
  if (recipe.header_size >= 52 && HasMasks(recipe)) {
    for (size_t i = 0; i < 4; ++i) PutLe(out, i < recipe.masks.size() ? recipe.masks[i] : 0, 4);
  }
  out.resize(start + recipe.header_size, 0);
  if (recipe.header_size == 40 && HasMasks(recipe)) {
    for (uint32_t mask : recipe.masks) PutLe(out, mask, 4);
  }
}

void PutPixels(std::vector<uint8_t>& out, const Picture& picture, const BmpRecipe& recipe,
               const std::vector<Rgb>& palette) {
  const auto masks = MasksFor(recipe);
  for (int row = 0; row < picture.height; ++row) {
    const int y = recipe.top_down ? row : picture.height - 1 - row;
    std::vector<uint8_t> bytes;
    uint32_t bit_buffer = 0;
    int bit_count = 0;
    for (int x = 0; x < picture.width; ++x) {
      const Rgb c = picture.At(x, y);
      if (recipe.bits <= 8) {
        const auto index = std::find(palette.begin(), palette.end(), c) - palette.begin();
        bit_buffer = (bit_buffer << recipe.bits) | static_cast<uint32_t>(index);
        bit_count += recipe.bits;
        if (bit_count == 8) {
          bytes.push_back(static_cast<uint8_t>(bit_buffer));
          bit_buffer = 0;
          bit_count = 0;
        }
      } else if (recipe.bits == 24) {
        bytes.insert(bytes.end(), {c.b, c.g, c.r});
      } else {
        PutLe(bytes, Pack(c, masks), recipe.bits / 8);
      }
    }
    if (bit_count > 0) bytes.push_back(static_cast<uint8_t>(bit_buffer << (8 - bit_count)));
    // Padding holds junk, which a reader must ignore.
    while (bytes.size() % 4 != 0) bytes.push_back(0xEE);
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
}

std::vector<uint8_t> Assemble(const BmpRecipe& recipe, int width, int height,
                              const std::vector<Rgb>& palette, uint32_t palette_entries,
                              const std::vector<uint8_t>& pixels) {
  std::vector<uint8_t> out = {'B', 'M'};
  PutLe(out, 0, 4);  // file size, patched below
  PutLe(out, 0, 4);
  PutLe(out, 0, 4);  // pixel offset, patched below
  PutInfoHeader(out, recipe, width, height, recipe.colours_used);
  for (uint32_t i = 0; i < palette_entries; ++i) {
    const Rgb c = i < palette.size() ? palette[i] : Rgb{};
    out.insert(out.end(), {c.b, c.g, c.r});
    if (recipe.header_size != 12) out.push_back(0);
  }
  out.resize(out.size() + recipe.gap, 0x55);
  const auto offset = static_cast<uint32_t>(out.size());
  out.insert(out.end(), pixels.begin(), pixels.end());
  for (int i = 0; i < 4; ++i) {
    out[2 + i] = static_cast<uint8_t>(out.size() >> (8 * i));
    out[10 + i] = static_cast<uint8_t>(offset >> (8 * i));
  }
  return out;
}

}  // namespace

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

std::vector<uint8_t> BuildBmp(const Picture& picture, const BmpRecipe& recipe) {
  const auto palette = PaletteOf(picture);
  uint32_t entries = 0;
  if (recipe.bits <= 8)
    entries = recipe.colours_used != 0 ? recipe.colours_used : 1u << recipe.bits;
  std::vector<uint8_t> pixels;
  PutPixels(pixels, picture, recipe, palette);
  return Assemble(recipe, picture.width, picture.height, palette, entries, pixels);
}

std::vector<uint8_t> BuildRleBmp(int width, int height, uint32_t compression,
                                 const std::vector<Rgb>& palette,
                                 const std::vector<uint8_t>& data) {
  BmpRecipe recipe;
  recipe.bits = compression == kRle4 ? 4 : 8;
  recipe.compression = compression;
  recipe.top_down = height < 0;
  recipe.colours_used = static_cast<uint32_t>(palette.size());
  return Assemble(recipe, width, height < 0 ? -height : height, palette, recipe.colours_used, data);
}

}  // namespace vellumo::test
