#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <span>
#include <vector>

namespace vellumo {

// Sends pixel rows to a drawable in strips: rows that arrive next to one another (top down or
// bottom up) collect in a client-side image of a few hundred kilobytes and go to the server in
// one request. Rows in any other order still arrive, one strip each.
class PixmapWriter {
 public:
  // Rows span `width` pixels from column `x` of `drawable`.
  PixmapWriter(Display* display, Drawable drawable, GC gc, Visual* visual, int depth, int x,
               int width);
  ~PixmapWriter();
  PixmapWriter(const PixmapWriter&) = delete;
  PixmapWriter& operator=(const PixmapWriter&) = delete;

  bool ok() const { return image_ != nullptr; }
  // `pixels` holds `width` pixel values.
  void PutRow(int y, std::span<const uint32_t> pixels);
  // Sends the rows still waiting.
  void Flush();

 private:
  void WriteRow(int image_row, std::span<const uint32_t> pixels);

  Display* display_;
  Drawable drawable_;
  GC gc_;
  int x_;
  int width_;
  int strip_rows_;
  std::vector<char> data_;
  XImage* image_ = nullptr;
  bool pending_ = false;
  int strip_top_ = 0;  // the drawable row of the image's first row
  int first_ = 0;      // the waiting rows, inclusive
  int last_ = 0;
};

}  // namespace vellumo
