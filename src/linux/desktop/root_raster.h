#pragma once

#include <vector>

#include "platform/desktop.h"
#include "platform/pictures.h"

namespace vellumo {

// Where each row and column of a picture lands in the root window's background pixmap:
// tiled, the pixmap is the picture (cut to the screen where larger) and the server repeats it;
// centred, a screen-sized
// pixmap with the picture in the middle, cropped when larger; stretched, a screen-sized pixmap
// with the picture scaled to it (nearest pixel). Rows map independently of one another, so a
// picture can be laid out while it is decoded, in whatever order its rows arrive, without a
// full copy of it in memory.
class RootRaster {
 public:
  // The largest pixmap side an X server accepts.
  static constexpr int kMaxPixmapSide = 32767;

  RootRaster(PixelSize picture, PixelSize screen, Layout layout);

  struct Rows {
    int first = 0;
    int count = 0;  // 0: the row is cropped or skipped by the scaling
  };

  PixelSize pixmap_size() const { return pixmap_; }
  // False when no pixmap can be made of this size; nothing else is then prepared.
  bool fits() const;
  // True when part of the pixmap shows no picture and must be filled first.
  bool needs_fill() const;
  // The pixmap rows showing picture row `y`.
  Rows TargetRows(int y) const;
  // The pixmap columns showing the picture start at first_column(); source_columns()[i] is the
  // picture column shown in pixmap column first_column() + i.
  int first_column() const { return first_column_; }
  const std::vector<int>& source_columns() const { return source_columns_; }

 private:
  Layout layout_;
  PixelSize picture_;
  PixelSize pixmap_;
  int row_offset_ = 0;
  int first_column_ = 0;
  std::vector<int> source_columns_;
};

}  // namespace vellumo
