#include "platform/bitmap_file.h"

#include <array>

namespace vellumo {
namespace {

constexpr int64_t kHeaderBytes = 14 + 40;
constexpr int32_t kPixelsPerMetre = 2835;  // 72 dots per inch

int64_t RowStride(int64_t width) {
  return (width * 3 + 3) & ~int64_t{3};
}

void PutLe(uint8_t* out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

std::array<uint8_t, kHeaderBytes> MakeHeaders(int width, int height) {
  const auto image_bytes = static_cast<uint32_t>(RowStride(width) * height);
  std::array<uint8_t, kHeaderBytes> h{};
  h[0] = 'B';
  h[1] = 'M';
  PutLe(&h[2], static_cast<uint32_t>(kHeaderBytes) + image_bytes, 4);  // bfSize
  PutLe(&h[10], kHeaderBytes, 4);                                      // bfOffBits
  PutLe(&h[14], 40, 4);                                                // biSize
  PutLe(&h[18], static_cast<uint32_t>(width), 4);
  PutLe(&h[22], static_cast<uint32_t>(height), 4);  // positive: bottom-up
  PutLe(&h[26], 1, 2);                              // biPlanes
  PutLe(&h[28], 24, 2);                             // biBitCount
  PutLe(&h[30], 0, 4);                              // BI_RGB
  PutLe(&h[34], image_bytes, 4);                    // biSizeImage
  PutLe(&h[38], kPixelsPerMetre, 4);
  PutLe(&h[42], kPixelsPerMetre, 4);
  return h;  // biClrUsed and biClrImportant stay 0
}

}  // namespace

bool IsSensibleBitmapSize(int64_t width, int64_t height) {
  if (width < 1 || height < 1) return false;
  if (width > kMaxBitmapPixels || height > kMaxBitmapPixels) return false;
  if (width * height > kMaxBitmapPixels) return false;
  return kHeaderBytes + RowStride(width) * height <= int64_t{0xFFFFFFFF};
}

BitmapFile::~BitmapFile() {
  if (file_.is_open()) file_.close();
}

bool BitmapFile::Open(const std::filesystem::path& path, int width, int height) {
  if (file_.is_open()) file_.close();
  ok_ = false;
  if (!IsSensibleBitmapSize(width, height)) return false;
  // Unbuffered: every row goes to the system in one write at its own offset, so seeking
  // never has a buffer to flush and nothing is copied twice.
  file_.rdbuf()->pubsetbuf(nullptr, 0);
  file_.open(path, std::ios::binary | std::ios::out | std::ios::trunc);
  if (!file_.is_open()) return false;
  width_ = width;
  height_ = height;
  const auto headers = MakeHeaders(width, height);
  file_.write(reinterpret_cast<const char*>(headers.data()), headers.size());
  // Give the file its full length now; rows never written stay black.
  const int64_t end = kHeaderBytes + RowStride(width) * height;
  file_.seekp(end - 1);
  file_.put('\0');
  ok_ = file_.good();
  return ok_;
}

bool BitmapFile::WriteRow(int y, std::span<const uint8_t> bgr) {
  if (!ok_ || y < 0 || y >= height_) return false;
  const int64_t row_bytes = int64_t{width_} * 3;
  if (static_cast<int64_t>(bgr.size()) < row_bytes) return false;
  const int64_t stride = RowStride(width_);
  const int64_t offset = kHeaderBytes + int64_t{height_ - 1 - y} * stride;
  file_.seekp(offset);
  file_.write(reinterpret_cast<const char*>(bgr.data()), row_bytes);
  // The padding bytes were zeroed when the file got its length.
  ok_ = file_.good();
  return ok_;
}

bool BitmapFile::Close() {
  if (!file_.is_open()) return false;
  file_.flush();
  bool ok = ok_ && file_.good();
  file_.close();
  ok = ok && !file_.fail();
  ok_ = false;
  return ok;
}

}  // namespace vellumo
