#include <cstring>
#include <vector>

#include "bmp_layout.h"
#include "decoders.h"

namespace vellumo::codecs {
namespace {

// Reads the compressed stream a chunk at a time.
class ByteReader {
 public:
  explicit ByteReader(std::FILE* file) : file_(file), buffer_(64 * 1024) {}

  bool Next(uint8_t& byte) {
    if (pos_ == size_) {
      size_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
      pos_ = 0;
      if (size_ == 0) return false;
    }
    byte = buffer_[pos_++];
    return true;
  }

 private:
  std::FILE* file_;
  std::vector<uint8_t> buffer_;
  size_t pos_ = 0;
  size_t size_ = 0;
};

// The row being filled. Rows are stored bottom-up; each is handed on once, in file order.
class RleCanvas {
 public:
  RleCanvas(const BmpLayout& layout, const RowHandler& on_row)
      : layout_(layout), on_row_(on_row), row_(layout.width * 3, 0) {}

  bool Done() const { return y_ >= layout_.height; }

  // Pixels past the end of the row are dropped.
  void Put(uint8_t index) {
    if (x_ < layout_.width) std::memcpy(&row_[x_ * 3], layout_.palette[index].data(), 3);
    ++x_;
  }

  void Skip(int64_t dx) { x_ += dx; }

  bool EndRow() {
    if (Done()) return true;
    if (!on_row_(static_cast<int>(layout_.height - 1 - y_), row_)) return false;
    std::fill(row_.begin(), row_.end(), 0);
    ++y_;
    x_ = 0;
    return true;
  }

  // Moves down `rows` rows, keeping the column.
  bool SkipRows(int64_t rows) {
    const int64_t x = x_;
    for (int64_t i = 0; i < rows && !Done(); ++i) {
      if (!EndRow()) return false;
    }
    x_ = x;
    return true;
  }

  bool Finish() {
    while (!Done()) {
      if (!EndRow()) return false;
    }
    return true;
  }

 private:
  const BmpLayout& layout_;
  const RowHandler& on_row_;
  std::vector<uint8_t> row_;
  int64_t x_ = 0;
  int64_t y_ = 0;  // counted from the bottom
};

class RleDecoder {
 public:
  RleDecoder(std::FILE* file, const BmpLayout& layout, const RowHandler& on_row)
      : reader_(file), canvas_(layout, on_row), four_bit_(layout.compression == kBiRle4) {}

  // True when every row was handed on. Data that ends early is a truncated file.
  bool Run() {
    while (!canvas_.Done()) {
      uint8_t count = 0;
      uint8_t value = 0;
      if (!reader_.Next(count) || !reader_.Next(value)) return false;
      if (count > 0) {
        Repeat(count, value);
        continue;
      }
      if (!Escape(value)) return false;
      if (end_of_bitmap_) return canvas_.Finish();
    }
    return true;
  }

 private:
  void Repeat(int count, uint8_t value) {
    for (int i = 0; i < count; ++i) {
      canvas_.Put(four_bit_ ? (i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
    }
  }

  bool Escape(uint8_t code) {
    switch (code) {
      case 0:
        return canvas_.EndRow();
      case 1:
        end_of_bitmap_ = true;
        return true;
      case 2:
        return Delta();
      default:
        return Absolute(code);
    }
  }

  bool Delta() {
    uint8_t dx = 0;
    uint8_t dy = 0;
    if (!reader_.Next(dx) || !reader_.Next(dy)) return false;
    if (!canvas_.SkipRows(dy)) return false;
    canvas_.Skip(dx);
    return true;
  }

  // `count` literal pixels, padded to a 16-bit boundary.
  bool Absolute(int count) {
    const int bytes = four_bit_ ? (count + 1) / 2 : count;
    uint8_t byte = 0;
    for (int i = 0; i < bytes; ++i) {
      if (!reader_.Next(byte)) return false;
      if (!four_bit_) {
        canvas_.Put(byte);
        continue;
      }
      canvas_.Put(byte >> 4);
      if (i * 2 + 1 < count) canvas_.Put(byte & 0x0F);
    }
    return bytes % 2 == 0 || reader_.Next(byte);
  }

  ByteReader reader_;
  RleCanvas canvas_;
  bool four_bit_;
  bool end_of_bitmap_ = false;
};

}  // namespace

std::optional<PixelSize> DecodeRunLength(std::FILE* file, const BmpLayout& layout,
                                         const SizeHandler& on_size, const RowHandler& on_row) {
  if (!AcceptSize(layout.width, layout.height, on_size)) return std::nullopt;
  if (std::fseek(file, layout.pixel_offset, SEEK_SET) != 0) return std::nullopt;
  RleDecoder decoder(file, layout, on_row);
  if (!decoder.Run()) return std::nullopt;
  return PixelSize{static_cast<int>(layout.width), static_cast<int>(layout.height)};
}

}  // namespace vellumo::codecs
