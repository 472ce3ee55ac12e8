#include "png_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "platform/bitmap_file.h"

namespace vellumo {
namespace {

constexpr std::array<uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr int64_t kChunkOverhead = 12;  // length, type, CRC
constexpr int64_t kMaxStoredBlock = 65535;
constexpr int64_t kBlockHeader = 5;  // final flag and type, LEN, NLEN
// Deflate with a 32 KiB window, "fastest" level; the two bytes are a multiple of 31.
constexpr std::array<uint8_t, 2> kZlibHeader = {0x78, 0x01};
// Signature, IHDR, and the IDAT with the zlib header: the first row's chunk starts here.
constexpr int64_t kFirstRow = 8 + (kChunkOverhead + 13) + (kChunkOverhead + 2);
// The IDAT with the Adler-32, then IEND.
constexpr int64_t kTrailer = (kChunkOverhead + 4) + kChunkOverhead;

int64_t RowDataBytes(int width) {
  return 1 + int64_t{width} * 3;
}

int64_t BlockCount(int width) {
  return (RowDataBytes(width) + kMaxStoredBlock - 1) / kMaxStoredBlock;
}

int64_t RowChunkBytes(int width) {
  return kChunkOverhead + RowDataBytes(width) + kBlockHeader * BlockCount(width);
}

void PutBe32(uint8_t* out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(value >> (24 - 8 * i));
}

void PutLe16(uint8_t* out, uint32_t value) {
  out[0] = static_cast<uint8_t>(value);
  out[1] = static_cast<uint8_t>(value >> 8);
}

// Fills in a chunk's length, type and CRC around the `data_bytes` bytes already at out + 8.
void SealChunk(uint8_t* out, const char* type, size_t data_bytes) {
  PutBe32(out, static_cast<uint32_t>(data_bytes));
  std::memcpy(out + 4, type, 4);
  PutBe32(out + 8 + data_bytes, codecs::Crc32(0, {out + 4, data_bytes + 4}));
}

void AppendChunk(std::vector<uint8_t>& out, const char* type, std::span<const uint8_t> data) {
  const size_t at = out.size();
  out.resize(at + kChunkOverhead + data.size());
  std::copy(data.begin(), data.end(), out.begin() + static_cast<int64_t>(at) + 8);
  SealChunk(out.data() + at, type, data.size());
}

std::vector<uint8_t> Headers(int width, int height) {
  std::vector<uint8_t> out(kSignature.begin(), kSignature.end());
  std::array<uint8_t, 13> header{};
  PutBe32(&header[0], static_cast<uint32_t>(width));
  PutBe32(&header[4], static_cast<uint32_t>(height));
  header[8] = 8;  // bits per channel
  header[9] = 2;  // red-green-blue; compression, filter and interlace methods stay 0
  AppendChunk(out, "IHDR", header);
  AppendChunk(out, "IDAT", kZlibHeader);
  return out;
}

// A row's chunk with its block headers in place; the last block of the last row marks the end
// of the deflate stream when that row is written.
std::vector<uint8_t> RowChunkTemplate(int width) {
  std::vector<uint8_t> chunk(static_cast<size_t>(RowChunkBytes(width)));
  const int64_t data = RowDataBytes(width);
  uint8_t* out = chunk.data() + 8;
  for (int64_t start = 0; start < data; start += kMaxStoredBlock) {
    const auto length = static_cast<uint32_t>(std::min(kMaxStoredBlock, data - start));
    out[0] = 0;  // not final, stored
    PutLe16(out + 1, length);
    PutLe16(out + 3, ~length & 0xFFFF);
    out += kBlockHeader + length;
  }
  return chunk;
}

void BgrToRgb(std::span<const uint8_t> bgr, uint8_t* rgb) {
  const uint8_t* in = bgr.data();
  const uint8_t* end = in + bgr.size();
  for (; in != end; in += 3, rgb += 3) {
    rgb[0] = in[2];
    rgb[1] = in[1];
    rgb[2] = in[0];
  }
}

}  // namespace

PngFile::~PngFile() {
  if (fd_ >= 0) close(fd_);
}

bool PngFile::Open(const std::string& path, int width, int height) {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  ok_ = false;
  if (!IsSensibleBitmapSize(width, height)) return false;
  fd_ = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd_ < 0) return Failed();
  width_ = width;
  height_ = height;
  rows_written_ = 0;
  written_.assign(static_cast<size_t>(height), false);
  row_.assign(static_cast<size_t>(BlockCount(width) > 1 ? RowDataBytes(width) : 0), 0);
  chunk_ = RowChunkTemplate(width);
  adler_ = codecs::Adler32OfPieces(static_cast<uint64_t>(height),
                                   static_cast<uint64_t>(RowDataBytes(width)));
  // The file gets its full length at once, so each row lands inside it whatever the order.
  const int64_t length = kFirstRow + RowChunkBytes(width) * height + kTrailer;
  if (ftruncate(fd_, length) != 0) return Failed();
  ok_ = Write(Headers(width, height), 0);
  return ok_;
}

bool PngFile::WriteRow(int y, std::span<const uint8_t> bgr) {
  if (!ok_ || y < 0 || y >= height_ || written_[static_cast<size_t>(y)]) return false;
  const int64_t data_bytes = RowDataBytes(width_);
  if (static_cast<int64_t>(bgr.size()) < data_bytes - 1) return false;
  // A row that fits one block is laid out straight in its chunk; a wider one is laid out whole
  // first, then cut into blocks.
  const bool one_block = row_.empty();
  uint8_t* data = one_block ? chunk_.data() + 8 + kBlockHeader : row_.data();
  data[0] = 0;  // filter: none
  BgrToRgb(bgr.first(static_cast<size_t>(data_bytes - 1)), data + 1);
  adler_.Add(static_cast<uint64_t>(y), codecs::Adler32(1, {data, static_cast<size_t>(data_bytes)}));

  uint8_t* block = chunk_.data() + 8;
  for (int64_t start = 0; start < data_bytes; start += kMaxStoredBlock) {
    const int64_t length = std::min(kMaxStoredBlock, data_bytes - start);
    const bool last = start + length == data_bytes;
    block[0] = last && y == height_ - 1 ? 1 : 0;
    if (!one_block) std::memcpy(block + kBlockHeader, data + start, static_cast<size_t>(length));
    block += kBlockHeader + length;
  }
  SealChunk(chunk_.data(), "IDAT", chunk_.size() - kChunkOverhead);
  ok_ = Write(chunk_, kFirstRow + RowChunkBytes(width_) * y);
  written_[static_cast<size_t>(y)] = ok_;
  rows_written_ += ok_ ? 1 : 0;
  return ok_;
}

bool PngFile::Close() {
  if (fd_ < 0) return false;
  bool ok = ok_ && rows_written_ == height_;
  if (ok) {
    std::array<uint8_t, 4> adler{};
    PutBe32(adler.data(), adler_.Value());
    std::vector<uint8_t> trailer;
    AppendChunk(trailer, "IDAT", adler);
    AppendChunk(trailer, "IEND", {});
    ok = Write(trailer, kFirstRow + RowChunkBytes(width_) * height_);
  }
  if (close(fd_) != 0) ok = Failed();
  fd_ = -1;
  ok_ = false;
  return ok;
}

bool PngFile::Failed() {
  if (error_ == 0) error_ = errno;
  return false;
}

bool PngFile::Write(const std::vector<uint8_t>& bytes, int64_t offset) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = pwrite(fd_, bytes.data() + done, bytes.size() - done,
                             static_cast<off_t>(offset + static_cast<int64_t>(done)));
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) errno = EIO;
    if (n <= 0) return Failed();
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace vellumo
