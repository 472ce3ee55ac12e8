#pragma once

#include <cstdint>
#include <span>

// The two checksums a PNG file carries: CRC-32 over each chunk and Adler-32 over the
// uncompressed data of its zlib stream. libdeflate computes both with the processor's vector
// instructions; it has no way to combine Adler-32s, which Adler32OfPieces adds.
namespace vellumo::codecs {

// CRC-32 (the polynomial of PNG, zlib and Ethernet) of `bytes`, continuing from `crc`: the CRC
// of the bytes before them, 0 for none.
uint32_t Crc32(uint32_t crc, std::span<const uint8_t> bytes);

// Adler-32 of `bytes`, continuing from `adler`: the checksum of the bytes before them, 1 for none.
uint32_t Adler32(uint32_t adler, std::span<const uint8_t> bytes);

// The Adler-32 of a stream made of `count` pieces of `piece_length` bytes each, from the pieces'
// own Adler-32s, added in any order. A piece's share of each of the two sums depends only on its
// own sums and on how many bytes follow it (the arithmetic of zlib's adler32_combine), so pieces
// can be added as they come and nothing is kept but two numbers.
class Adler32OfPieces {
 public:
  Adler32OfPieces(uint64_t count, uint64_t piece_length);

  // The Adler-32 of piece `index` (0 is the first in the stream).
  void Add(uint64_t index, uint32_t adler);
  // The checksum of the whole stream once every piece has been added once.
  uint32_t Value() const;

 private:
  uint64_t count_;
  uint64_t piece_length_;
  uint32_t sum_a_ = 0;  // the pieces' byte sums, modulo 65521
  uint32_t sum_b_ = 0;  // the pieces' weighted sums, each moved to its place in the stream
};

}  // namespace vellumo::codecs
