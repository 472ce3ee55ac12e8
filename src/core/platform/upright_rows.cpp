#include "platform/upright_rows.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace vellumo {
namespace {

// Rows of the upright picture made per pass over the held one: enough to read each stored row
// in runs, few enough for the block to stay in the cache.
constexpr int kBlockRows = 32;

// One stored row's run of `count` pixels, from `from` on, forwards or backwards, to the same
// column of `count` block rows. The pixel size is fixed at compile time so each copy is a
// couple of moves, not a call.
template <size_t kPixel>
void CopyRun(const uint8_t* from, bool forward, int count, uint8_t* to, size_t to_stride) {
  const ptrdiff_t step = forward ? static_cast<ptrdiff_t>(kPixel) : -static_cast<ptrdiff_t>(kPixel);
  for (int j = 0; j < count; ++j, from += step, to += to_stride) std::memcpy(to, from, kPixel);
}

void Mirror(std::span<const uint8_t> row, size_t pixel_bytes, std::vector<uint8_t>& out) {
  out.resize(row.size());
  const size_t pixels = row.size() / pixel_bytes;
  for (size_t x = 0; x < pixels; ++x)
    std::copy_n(row.data() + (pixels - 1 - x) * pixel_bytes, pixel_bytes,
                out.data() + x * pixel_bytes);
}

}  // namespace

UprightRows::UprightRows(const SizeHandler& on_size, const RowHandler& on_row, int pixel_bytes)
    : pixel_bytes_(static_cast<size_t>(pixel_bytes)),
      on_size_(on_size),
      on_row_(on_row),
      size_handler_([this](PixelSize stored) { return OnSize(stored); }) {}

void UprightRows::SetOrientation(int orientation) {
  orientation_ = orientation >= 1 && orientation <= 8 ? orientation : 1;
}

bool UprightRows::OnSize(PixelSize stored) {
  stored_ = stored;
  upright_ = Transposed() ? PixelSize{stored.height, stored.width} : stored;
  if (on_size_ && !on_size_(upright_)) return false;
  if (!Transposed()) return true;
  try {
    held_.reset(new uint8_t[pixel_bytes_ * static_cast<size_t>(stored.width) *
                            static_cast<size_t>(stored.height)]);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool UprightRows::OnRow(int y, std::span<const uint8_t> bgr) {
  if (Transposed()) {
    std::copy(bgr.begin(), bgr.end(),
              held_.get() + static_cast<ptrdiff_t>(y) * static_cast<ptrdiff_t>(bgr.size()));
    return true;
  }
  const bool flipped = orientation_ == 3 || orientation_ == 4;
  const int at = flipped ? stored_.height - 1 - y : y;
  if (orientation_ == 1 || orientation_ == 4) return on_row_(at, bgr);
  Mirror(bgr, pixel_bytes_, row_);
  return on_row_(at, row_);
}

bool UprightRows::Finish() {
  if (!Transposed()) return true;
  std::vector<uint8_t> block;
  try {
    block.resize(pixel_bytes_ * static_cast<size_t>(upright_.width) * kBlockRows);
  } catch (const std::bad_alloc&) {
    return false;
  }
  for (int first = 0; first < upright_.height; first += kBlockRows) {
    if (!EmitBlock(first, std::min(kBlockRows, upright_.height - first), block)) return false;
  }
  return true;
}

// Upright rows first .. first + count - 1. Upright row r is a stored column and upright column c
// a stored row; which ones depends on the orientation.
bool UprightRows::EmitBlock(int first, int count, std::vector<uint8_t>& block) {
  const int w = stored_.width, h = stored_.height;
  const bool columns_forward = orientation_ == 5 || orientation_ == 6;
  const bool rows_forward = orientation_ == 5 || orientation_ == 8;
  const size_t out_stride = pixel_bytes_ * static_cast<size_t>(upright_.width);
  for (int y = 0; y < h; ++y) {
    const uint8_t* stored_row = held_.get() + pixel_bytes_ * static_cast<size_t>(w) * y;
    const size_t column = static_cast<size_t>(rows_forward ? y : h - 1 - y) * pixel_bytes_;
    const int x = columns_forward ? first : w - 1 - first;
    const uint8_t* from = stored_row + pixel_bytes_ * static_cast<size_t>(x);
    uint8_t* to = block.data() + column;
    if (pixel_bytes_ == 3) {
      CopyRun<3>(from, columns_forward, count, to, out_stride);
    } else {
      CopyRun<4>(from, columns_forward, count, to, out_stride);
    }
  }
  for (int j = 0; j < count; ++j) {
    if (!on_row_(first + j, std::span<const uint8_t>(block.data() + out_stride * j, out_stride)))
      return false;
  }
  return true;
}

}  // namespace vellumo
