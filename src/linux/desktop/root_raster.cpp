#include "root_raster.h"

#include <algorithm>
#include <cstdint>

namespace vellumo {
namespace {

// The source index sampled by target index `i` when `source` cells stretch over `target` cells:
// the cell whose centre is nearest the target cell's centre.
int NearestSource(int i, int source, int target) {
  return static_cast<int>((2 * static_cast<int64_t>(i) + 1) * source / (2 * int64_t{target}));
}

}  // namespace

RootRaster::RootRaster(PixelSize picture, PixelSize screen, Layout layout)
    : layout_(layout), picture_(picture) {
  if (layout == Layout::kTiled) {
    pixmap_ = picture;
    for (int x = 0; x < picture.width; ++x) source_columns_.push_back(x);
    return;
  }
  pixmap_ = screen;
  if (layout == Layout::kCentered) {
    row_offset_ = (screen.height - picture.height) / 2;
    int column_offset = (screen.width - picture.width) / 2;
    first_column_ = std::max(0, column_offset);
    int end = std::min(screen.width, column_offset + picture.width);
    for (int x = first_column_; x < end; ++x) source_columns_.push_back(x - column_offset);
    return;
  }
  for (int x = 0; x < screen.width; ++x) {
    source_columns_.push_back(NearestSource(x, picture.width, screen.width));
  }
  row_starts_.assign(picture.height + 1, 0);
  for (int y = 0; y < screen.height; ++y)
    ++row_starts_[NearestSource(y, picture.height, screen.height) + 1];
  for (int y = 0; y < picture.height; ++y) row_starts_[y + 1] += row_starts_[y];
}

bool RootRaster::needs_fill() const {
  if (layout_ != Layout::kCentered) return false;
  return picture_.width < pixmap_.width || picture_.height < pixmap_.height;
}

RootRaster::Rows RootRaster::TargetRows(int y) const {
  if (y < 0 || y >= picture_.height) return {};
  if (layout_ == Layout::kStretched) return {row_starts_[y], row_starts_[y + 1] - row_starts_[y]};
  int target = y + row_offset_;
  if (target < 0 || target >= pixmap_.height) return {};
  return {target, 1};
}

}  // namespace vellumo
