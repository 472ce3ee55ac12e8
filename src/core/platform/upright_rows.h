#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/pictures.h"

namespace vellumo {

// Stands between a decoder and the caller's handlers so that the caller gets the picture turned
// upright by its EXIF orientation (see exif_orientation.h). Rows hold `pixel_bytes` bytes a pixel
// (3 for blue-green-red, 4 with a fourth byte). Orientations 1 to 4 keep the size and
// pass each row on as it comes, mirrored or at its mirrored place. 5 to 8 swap width and height:
// the picture is held once, as decoded, and handed on by Finish, a block of rows at a time.
class UprightRows {
 public:
  UprightRows(const SizeHandler& on_size, const RowHandler& on_row, int pixel_bytes = 3);
  UprightRows(const UprightRows&) = delete;
  UprightRows& operator=(const UprightRows&) = delete;

  // 1 to 8; anything else counts as upright. Before the first OnSize.
  void SetOrientation(int orientation);

  // The decoder's handlers; the first also as a SizeHandler that lives as long as this object.
  bool OnSize(PixelSize stored);
  const SizeHandler& SizeHandlerForDecoder() const { return size_handler_; }
  bool OnRow(int y, std::span<const uint8_t> bgr);
  // Once every row is decoded: hands on what was held. False when a handler stopped or the
  // picture could not be held.
  bool Finish();

  // The size the caller sees.
  PixelSize Upright() const { return upright_; }

 private:
  bool Transposed() const { return orientation_ >= 5; }
  bool EmitBlock(int first, int count, std::vector<uint8_t>& block);

  int orientation_ = 1;
  size_t pixel_bytes_;
  const SizeHandler& on_size_;
  const RowHandler& on_row_;
  SizeHandler size_handler_;
  PixelSize stored_;
  PixelSize upright_;
  // The stored picture, for orientations 5 to 8: left uninitialised, every byte is written
  // before it is read, and clearing 72 MB first would cost a pass over it.
  std::unique_ptr<uint8_t[]> held_;
  std::vector<uint8_t> row_;  // one mirrored row
};

}  // namespace vellumo
