#include "platform/upright_rows.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>

namespace vellumo {
namespace {

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
    turn_ = std::make_unique<QuarterTurn>(stored, orientation_, pixel_bytes_);
  } catch (const std::exception&) {  // no memory for the picture, or no thread to turn it
    return false;
  }
  return true;
}

bool UprightRows::OnRow(int y, std::span<const uint8_t> bgr) {
  if (Transposed()) {
    turn_->Row(y, bgr);
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
  const uint8_t* upright = turn_->Finish();
  const size_t stride = turn_->upright_stride();
  for (int y = 0; y < upright_.height; ++y) {
    if (!on_row_(y, {upright + stride * static_cast<size_t>(y), stride})) return false;
  }
  return true;
}

}  // namespace vellumo
