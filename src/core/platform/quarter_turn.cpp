#include "platform/quarter_turn.h"

#include <cstring>

namespace vellumo {
namespace {

// Stored rows per batch: enough that each upright row receives a run of pixels per batch
// rather than one, few enough that a batch stays in the cache while it is turned.
constexpr int kBatchRows = 16;
// One batch being filled, one being turned, one spare so neither side waits on the other.
constexpr size_t kBatches = 3;

// `count` pixels down one column of the batch to a run of one upright row, forwards or
// backwards. The pixel size is fixed at compile time so each copy is a move or two, not a call.
template <size_t kPixel>
void CopyColumn(const uint8_t* from, size_t from_stride, int count, uint8_t* to, bool forward) {
  const ptrdiff_t step = forward ? static_cast<ptrdiff_t>(kPixel) : -static_cast<ptrdiff_t>(kPixel);
  for (int j = 0; j < count; ++j, from += from_stride, to += step) std::memcpy(to, from, kPixel);
}

}  // namespace

QuarterTurn::QuarterTurn(PixelSize stored, int orientation, size_t pixel_bytes)
    : stored_(stored),
      pixel_bytes_(pixel_bytes),
      stored_stride_(pixel_bytes * static_cast<size_t>(stored.width)),
      // Upright row r is stored column r (5, 6) or width - 1 - r (7, 8); upright column c is
      // stored row c (5, 8) or height - 1 - c (6, 7).
      columns_forward_(orientation == 5 || orientation == 6),
      rows_forward_(orientation == 5 || orientation == 8),
      upright_(new uint8_t[stored_stride_ * static_cast<size_t>(stored.height)]),
      batches_(kBatches) {
  for (Batch& batch : batches_) batch.rows.resize(stored_stride_ * kBatchRows);
  turner_ = std::thread([this] { TurnLoop(); });
}

QuarterTurn::~QuarterTurn() {
  Stop();
}

void QuarterTurn::Row(int y, std::span<const uint8_t> row) {
  if (y < 0 || y >= stored_.height || row.size() < stored_stride_) return;
  Batch* batch = &batches_[filling_];
  if (batch->count > 0 && y != batch->first + batch->count) {
    Submit();
    batch = &batches_[filling_];
  }
  if (batch->count == 0) batch->first = y;
  std::memcpy(batch->rows.data() + stored_stride_ * static_cast<size_t>(batch->count), row.data(),
              stored_stride_);
  if (++batch->count == kBatchRows) Submit();
}

const uint8_t* QuarterTurn::Finish() {
  Submit();
  Stop();
  return upright_.get();
}

// Hands the filling batch to the turning thread and waits, if need be, for the next one.
void QuarterTurn::Submit() {
  if (batches_[filling_].count == 0) return;
  std::unique_lock lock(mutex_);
  batches_[filling_].full = true;
  changed_.notify_all();
  filling_ = (filling_ + 1) % kBatches;
  changed_.wait(lock, [this] { return !batches_[filling_].full; });
  batches_[filling_].count = 0;
}

void QuarterTurn::Turn(const Batch& batch) {
  const int w = stored_.width, h = stored_.height;
  const int first_column = rows_forward_ ? batch.first : h - 1 - batch.first;
  const size_t column_offset = pixel_bytes_ * static_cast<size_t>(first_column);
  for (int x = 0; x < w; ++x) {
    const int row = columns_forward_ ? x : w - 1 - x;
    uint8_t* to = upright_.get() + upright_stride() * static_cast<size_t>(row) + column_offset;
    const uint8_t* from = batch.rows.data() + pixel_bytes_ * static_cast<size_t>(x);
    if (pixel_bytes_ == 3) {
      CopyColumn<3>(from, stored_stride_, batch.count, to, rows_forward_);
    } else {
      CopyColumn<4>(from, stored_stride_, batch.count, to, rows_forward_);
    }
  }
}

// Turns the batches in the order they were filled until told to stop with none left.
void QuarterTurn::TurnLoop() {
  for (size_t next = 0;; next = (next + 1) % kBatches) {
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return batches_[next].full || stopping_; });
      if (!batches_[next].full) return;
    }
    Turn(batches_[next]);
    std::lock_guard lock(mutex_);
    batches_[next].full = false;
    changed_.notify_all();
  }
}

void QuarterTurn::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    changed_.notify_all();
  }
  if (turner_.joinable()) turner_.join();
}

}  // namespace vellumo
