#include "pixmap_writer.h"

#include <X11/Xutil.h>

#include <algorithm>

namespace vellumo {
namespace {

constexpr int kStripBytes = 1 << 20;

}  // namespace

PixmapWriter::PixmapWriter(Display* display, Drawable drawable, GC gc, Visual* visual, int depth,
                           int x, int width)
    : display_(display),
      drawable_(drawable),
      gc_(gc),
      x_(x),
      width_(width),
      strip_rows_(std::max(1, kStripBytes / (4 * std::max(1, width)))) {
  image_ = XCreateImage(display, visual, depth, ZPixmap, 0, nullptr, width, strip_rows_, 32, 0);
  if (!image_) return;
  data_.resize(static_cast<size_t>(image_->bytes_per_line) * strip_rows_);
  image_->data = data_.data();
}

PixmapWriter::~PixmapWriter() {
  if (!image_) return;
  image_->data = nullptr;  // ours, not Xlib's to free
  XDestroyImage(image_);
}

void PixmapWriter::PutRow(int y, std::span<const uint32_t> pixels) {
  if (!image_ || pixels.size() < static_cast<size_t>(width_)) return;
  bool same_strip = y >= strip_top_ && y < strip_top_ + strip_rows_;
  bool adjacent = y == last_ + 1 || y == first_ - 1;
  if (pending_ && same_strip && adjacent) {
    first_ = std::min(first_, y);
    last_ = std::max(last_, y);
  } else {
    Flush();
    strip_top_ = y - y % strip_rows_;
    first_ = last_ = y;
    pending_ = true;
  }
  WriteRow(y - strip_top_, pixels);
}

void PixmapWriter::Flush() {
  if (!pending_) return;
  XPutImage(display_, drawable_, gc_, image_, 0, first_ - strip_top_, x_, first_, width_,
            last_ - first_ + 1);
  pending_ = false;
}

void PixmapWriter::WriteRow(int image_row, std::span<const uint32_t> pixels) {
  char* row = image_->data + static_cast<size_t>(image_row) * image_->bytes_per_line;
  if (image_->bits_per_pixel != 32) {
    for (int x = 0; x < width_; ++x) XPutPixel(image_, x, image_row, pixels[x]);
    return;
  }
  // The common case, written directly: four bytes in the image's byte order.
  bool msb_first = image_->byte_order == MSBFirst;
  for (int x = 0; x < width_; ++x) {
    uint32_t pixel = pixels[x];
    unsigned char* out = reinterpret_cast<unsigned char*>(row) + 4 * x;
    for (int i = 0; i < 4; ++i) {
      int shift = msb_first ? 24 - 8 * i : 8 * i;
      out[i] = static_cast<unsigned char>(pixel >> shift);
    }
  }
}

}  // namespace vellumo
