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

// The first target index whose nearest source is `y` or later: the smallest i with
// (2i + 1) * source >= 2 * y * target. Computed, not tabled, so a very tall picture costs nothing.
int FirstTarget(int y, int source, int target) {
  const int64_t numerator = 2 * int64_t{y} * target - source;
  if (numerator <= 0) return 0;
  const int64_t denominator = 2 * int64_t{source};
  return static_cast<int>(std::min<int64_t>(target, (numerator + denominator - 1) / denominator));
}

}  // namespace

RootRaster::RootRaster(PixelSize picture, PixelSize screen, Layout layout)
    : layout_(layout), picture_(picture) {
  // Tiles start at the screen's corner, so in a direction where the picture is larger than the
  // screen only its first part ever shows; the server need not keep the rest.
  pixmap_ = layout == Layout::kTiled ? PixelSize{std::min(picture.width, screen.width),
                                                 std::min(picture.height, screen.height)}
                                     : screen;
  if (!fits()) return;  // refused before any table is built
  if (layout == Layout::kTiled) {
    for (int x = 0; x < pixmap_.width; ++x) source_columns_.push_back(x);
    return;
  }
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
}

bool RootRaster::fits() const {
  return pixmap_.width > 0 && pixmap_.height > 0 && pixmap_.width <= kMaxPixmapSide &&
         pixmap_.height <= kMaxPixmapSide;
}

bool RootRaster::needs_fill() const {
  if (layout_ != Layout::kCentered) return false;
  return picture_.width < pixmap_.width || picture_.height < pixmap_.height;
}

RootRaster::Rows RootRaster::TargetRows(int y) const {
  if (y < 0 || y >= picture_.height) return {};
  if (layout_ == Layout::kStretched) {
    const int first = FirstTarget(y, picture_.height, pixmap_.height);
    return {first, FirstTarget(y + 1, picture_.height, pixmap_.height) - first};
  }
  int target = y + row_offset_;
  if (target < 0 || target >= pixmap_.height) return {};
  return {target, 1};
}

}  // namespace vellumo
