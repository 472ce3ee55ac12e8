#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "platform/pictures.h"

namespace vellumo {

// Turns a picture a quarter (orientations 5 to 8: transposed, then mirrored as the orientation
// says) while it is being decoded. The decoder's rows are gathered into small batches that a
// second thread writes, turned, straight into the one upright copy, so the turn overlaps the
// decoding instead of following it, and the picture is never held twice.
class QuarterTurn {
 public:
  // Allocates the upright copy; throws std::bad_alloc when it cannot.
  QuarterTurn(PixelSize stored, int orientation, size_t pixel_bytes);
  ~QuarterTurn();
  QuarterTurn(const QuarterTurn&) = delete;
  QuarterTurn& operator=(const QuarterTurn&) = delete;

  // One stored row, `y` counted from the top; rows may come in any order.
  void Row(int y, std::span<const uint8_t> row);
  // Waits for the last batch and returns the upright picture, rows top first, each
  // `upright_stride()` bytes.
  const uint8_t* Finish();
  size_t upright_stride() const { return pixel_bytes_ * static_cast<size_t>(stored_.height); }

 private:
  struct Batch {
    std::vector<uint8_t> rows;
    int first = 0;
    int count = 0;
    bool full = false;  // handed to the turning thread, not yet written
  };

  void Submit();
  void Turn(const Batch& batch);
  void TurnLoop();
  void Stop();

  PixelSize stored_;
  size_t pixel_bytes_;
  size_t stored_stride_;
  bool columns_forward_;
  bool rows_forward_;
  std::unique_ptr<uint8_t[]> upright_;  // left uninitialised: every byte is written once
  std::vector<Batch> batches_;
  size_t filling_ = 0;  // the batch the decoder's rows go to
  std::mutex mutex_;
  std::condition_variable changed_;
  bool stopping_ = false;
  std::thread turner_;
};

}  // namespace vellumo
