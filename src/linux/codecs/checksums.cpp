#include "checksums.h"

#include <algorithm>
#include <array>

namespace vellumo::codecs {
namespace {

// Slicing by eight: table k gives the CRC of a byte followed by k zero bytes, so eight bytes
// are folded in with eight look-ups and no dependency between them.
using CrcTables = std::array<std::array<uint32_t, 256>, 8>;

constexpr CrcTables MakeCrcTables() {
  CrcTables tables{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t crc = i;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ ((crc & 1) ? 0xEDB88320u : 0);
    tables[0][i] = crc;
  }
  for (size_t k = 1; k < tables.size(); ++k) {
    for (size_t i = 0; i < 256; ++i) {
      const uint32_t previous = tables[k - 1][i];
      tables[k][i] = (previous >> 8) ^ tables[0][previous & 0xFF];
    }
  }
  return tables;
}

constexpr CrcTables kCrcTables = MakeCrcTables();

uint32_t LoadLe32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

constexpr uint32_t kAdlerBase = 65521;
// Adler-32 is summed in blocks of 32 bytes, lane by lane, which the compiler turns into vector
// instructions; a run of blocks is short enough that no lane overflows 32 bits before the run's
// sums are folded into the checksum.
constexpr size_t kAdlerLanes = 32;
constexpr size_t kAdlerRunBlocks = 170;

}  // namespace

uint32_t Crc32(uint32_t crc, std::span<const uint8_t> bytes) {
  const auto& t = kCrcTables;
  const uint8_t* p = bytes.data();
  size_t left = bytes.size();
  crc = ~crc;
  for (; left >= 8; left -= 8, p += 8) {
    const uint32_t one = LoadLe32(p) ^ crc;
    const uint32_t two = LoadLe32(p + 4);
    crc = t[7][one & 0xFF] ^ t[6][(one >> 8) & 0xFF] ^ t[5][(one >> 16) & 0xFF] ^ t[4][one >> 24] ^
          t[3][two & 0xFF] ^ t[2][(two >> 8) & 0xFF] ^ t[1][(two >> 16) & 0xFF] ^ t[0][two >> 24];
  }
  for (; left > 0; --left, ++p) crc = t[0][(crc ^ *p) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

// Over a run of blocks, byte i of block j is added to a once and to b once for every byte from
// it to the end of the run: (blocks - j) x 32 - i times. Per lane i the run keeps the sum of its
// bytes and the sum, over the blocks, of that lane's sum before each block; those give b's share
// without a multiplication per byte.
uint32_t Adler32(uint32_t adler, std::span<const uint8_t> bytes) {
  uint64_t a = adler & 0xFFFF;
  uint64_t b = adler >> 16;
  const uint8_t* p = bytes.data();
  size_t left = bytes.size();
  while (left >= kAdlerLanes) {
    const size_t blocks = std::min(left / kAdlerLanes, kAdlerRunBlocks);
    std::array<uint32_t, kAdlerLanes> lanes{};
    std::array<uint32_t, kAdlerLanes> before{};
    for (size_t j = 0; j < blocks; ++j, p += kAdlerLanes) {
      for (size_t i = 0; i < kAdlerLanes; ++i) {
        before[i] += lanes[i];
        lanes[i] += p[i];
      }
    }
    uint64_t sum = 0;
    uint64_t earlier = 0;
    uint64_t offsets = 0;
    for (size_t i = 0; i < kAdlerLanes; ++i) {
      sum += lanes[i];
      earlier += before[i];
      offsets += i * uint64_t{lanes[i]};
    }
    const size_t run = blocks * kAdlerLanes;
    b = (b + run * a + kAdlerLanes * (sum + earlier) - offsets) % kAdlerBase;
    a = (a + sum) % kAdlerBase;
    left -= run;
  }
  for (; left > 0; --left, ++p) {
    a += *p;
    b += a;
  }
  return static_cast<uint32_t>(b % kAdlerBase) << 16 | static_cast<uint32_t>(a % kAdlerBase);
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
