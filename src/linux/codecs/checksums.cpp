#include "checksums.h"

#include <libdeflate.h>

namespace vellumo::codecs {
namespace {

constexpr uint32_t kAdlerBase = 65521;

}  // namespace

uint32_t Crc32(uint32_t crc, std::span<const uint8_t> bytes) {
  return libdeflate_crc32(crc, bytes.data(), bytes.size());
}

uint32_t Adler32(uint32_t adler, std::span<const uint8_t> bytes) {
  return libdeflate_adler32(adler, bytes.data(), bytes.size());
}

Adler32OfPieces::Adler32OfPieces(uint64_t count, uint64_t piece_length)
    : count_(count), piece_length_(piece_length) {}

// For a piece with sums A and B (A counting the initial 1, B the n running values of A) that
// is followed by `after` bytes, the stream's A gains A - 1 and its B gains the piece's own
// weighted sum, B - n, plus (A - 1) once for each byte after it.
void Adler32OfPieces::Add(uint64_t index, uint32_t adler) {
  const uint64_t a = ((adler & 0xFFFF) + kAdlerBase - 1) % kAdlerBase;
  const uint64_t b = adler >> 16;
  const uint64_t n = piece_length_ % kAdlerBase;
  const uint64_t after = (count_ - 1 - index) % kAdlerBase * n % kAdlerBase;
  sum_a_ = static_cast<uint32_t>((sum_a_ + a) % kAdlerBase);
  sum_b_ = static_cast<uint32_t>((sum_b_ + b + kAdlerBase - n + after * a) % kAdlerBase);
}

uint32_t Adler32OfPieces::Value() const {
  const uint64_t length = count_ % kAdlerBase * (piece_length_ % kAdlerBase) % kAdlerBase;
  const uint32_t a = (1 + sum_a_) % kAdlerBase;
  const auto b = static_cast<uint32_t>((length + sum_b_) % kAdlerBase);
  return b << 16 | a;
}

}  // namespace vellumo::codecs
