#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "decoders.h"

namespace vellumo::codecs {
namespace {

using Bgr = std::array<uint8_t, 3>;

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

int ReadFromFile(GifFileType* gif, GifByteType* buffer, int size) {
  return static_cast<int>(std::fread(buffer, 1, size, static_cast<std::FILE*>(gif->UserData)));
}

Bgr ColourAt(const ColorMapObject* map, int index) {
  if (map == nullptr || index < 0 || index >= map->ColorCount) return {0, 0, 0};
  const GifColorType& c = map->Colors[index];
  return {c.Blue, c.Green, c.Red};
}

// Skips extensions up to the first image, noting its transparent colour. -2 when the file
// ends (or breaks) before any image, -1 when the image has no transparent colour.
int FindFirstImage(GifFileType* gif) {
  int transparent = -1;
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif, &type) == GIF_ERROR) return -2;
    if (type == IMAGE_DESC_RECORD_TYPE) return transparent;
    if (type != EXTENSION_RECORD_TYPE) return -2;
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return -2;
    if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4) {
      transparent = (block[1] & 0x01) != 0 ? block[4] : -1;
    }
    while (block != nullptr) {
      if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return -2;
    }
  }
}

// The rows of a frame in the order the file stores them.
std::vector<int> StoredRowOrder(int height, bool interlaced) {
  std::vector<int> order;
  order.reserve(height);
  if (!interlaced) {
    for (int y = 0; y < height; ++y) order.push_back(y);
    return order;
  }
  constexpr std::array<std::array<int, 2>, 4> kPasses{{{0, 8}, {4, 8}, {2, 4}, {1, 2}}};
  for (const auto& [start, step] : kPasses) {
    for (int y = start; y < height; y += step) order.push_back(y);
  }
  return order;
}

// Draws the first frame on the logical screen, one screen row at a time.
class FirstFrame {
 public:
  FirstFrame(GifFileType* gif, int transparent, int width, int height)
      : gif_(gif), desc_(gif->Image), width_(width), height_(height) {
    const ColorMapObject* global = gif->SColorMap;
    background_ = ColourAt(global, gif->SBackGroundColor);
    const ColorMapObject* map = desc_.ColorMap != nullptr ? desc_.ColorMap : global;
    for (int i = 0; i < 256; ++i) palette_[i] = i == transparent ? background_ : ColourAt(map, i);
    blank_.resize(static_cast<size_t>(width) * 3);
    for (int x = 0; x < width; ++x) std::memcpy(&blank_[x * 3], background_.data(), 3);
    row_ = blank_;
  }

  bool Draw(const RowHandler& on_row) {
    const int top = std::clamp(desc_.Top, 0, height_);
    const int bottom = std::clamp(desc_.Top + desc_.Height, top, height_);
    for (int y = 0; y < height_; ++y) {
      if ((y < top || y >= bottom) && !on_row(y, blank_)) return false;
    }
    if (desc_.Width <= 0) return true;
    std::vector<GifPixelType> line(desc_.Width);
    const int left = std::clamp(desc_.Left, 0, width_);
    const int right = std::clamp(desc_.Left + desc_.Width, left, width_);
    // Reading stops after the last row on the screen: a frame far larger than its screen
    // would otherwise cost time for pixels nobody sees.
    int rows_left = bottom - top;
    for (int frame_y : StoredRowOrder(desc_.Height, desc_.Interlace)) {
      if (rows_left == 0) break;
      if (DGifGetLine(gif_, line.data(), desc_.Width) == GIF_ERROR) return false;
      const int y = desc_.Top + frame_y;
      if (y < top || y >= bottom) continue;
      for (int x = left; x < right; ++x) {
        std::memcpy(&row_[x * 3], palette_[line[x - desc_.Left]].data(), 3);
      }
      if (!on_row(y, row_)) return false;
      --rows_left;
    }
    return true;
  }

 private:
  GifFileType* gif_;
  const GifImageDesc& desc_;
  int width_;
  int height_;
  Bgr background_{};
  std::array<Bgr, 256> palette_{};
  std::vector<uint8_t> blank_;
  std::vector<uint8_t> row_;  // the frame's columns change; the rest stays background
};

}  // namespace

std::optional<PixelSize> DecodeGif(std::FILE* file, const SizeHandler& on_size,
                                   const RowHandler& on_row) {
  int error = 0;
  GifHandle gif(DGifOpen(file, ReadFromFile, &error));
  if (!gif) return std::nullopt;
  const int transparent = FindFirstImage(gif.get());
  if (transparent == -2 || DGifGetImageDesc(gif.get()) == GIF_ERROR) return std::nullopt;
  const GifImageDesc& desc = gif->Image;
  if (desc.ColorMap == nullptr && gif->SColorMap == nullptr) return std::nullopt;
  if (desc.Left < 0 || desc.Top < 0 || desc.Width < 0 || desc.Height < 0) return std::nullopt;

  // A screen of no size is taken to be the frame's own extent.
  int width = gif->SWidth;
  int height = gif->SHeight;
  if (width <= 0 || height <= 0) {
    width = desc.Left + desc.Width;
    height = desc.Top + desc.Height;
  }
  if (!AcceptSize(width, height, on_size)) return std::nullopt;
  FirstFrame frame(gif.get(), transparent, width, height);
  if (!frame.Draw(on_row)) return std::nullopt;
  return PixelSize{width, height};
}

}  // namespace vellumo::codecs
