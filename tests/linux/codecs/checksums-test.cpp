// The CRC-32 and Adler-32 the PNG writer uses against zlib's, which every PNG reader relies on.
#include "checksums.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

namespace vellumo::codecs {
namespace {

std::vector<uint8_t> Noise(size_t length, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> bytes(length);
  for (auto& byte : bytes) byte = static_cast<uint8_t>(random());
  return bytes;
}

// Lengths around the unrolled steps and the runs between reductions; all-0xFF bytes push the
// sums to their largest.
TEST(Checksums, AgreeWithZlibForAnyLengthAndContinuation) {
  for (size_t length : {0, 1, 7, 8, 9, 31, 32, 33, 5439, 5440, 5441, 5473, 100000}) {
    for (const auto& bytes : {Noise(length, 7), std::vector<uint8_t>(length, 0xFF)}) {
      EXPECT_EQ(Crc32(0, bytes), crc32(0, bytes.data(), bytes.size())) << length;
      EXPECT_EQ(Adler32(1, bytes), adler32(1, bytes.data(), bytes.size())) << length;
      // Continuing from the checksum of the first part gives that of the whole.
      const size_t half = length / 2;
      const std::span<const uint8_t> all(bytes);
      EXPECT_EQ(Crc32(Crc32(0, all.first(half)), all.subspan(half)), Crc32(0, all)) << length;
      EXPECT_EQ(Adler32(Adler32(1, all.first(half)), all.subspan(half)), Adler32(1, all)) << length;
    }
  }
}

// More pieces than the modulus, and pieces longer than it, in shuffled order.
TEST(Checksums, AdlerOfPiecesAddedInAnyOrderIsTheWholeStreams) {
  struct Case {
    size_t count, length;
  };
  for (const Case c : {Case{1, 10}, Case{3, 70000}, Case{70000, 3}, Case{500, 1}}) {
    const std::vector<uint8_t> stream = Noise(c.count * c.length, 11);
    std::vector<size_t> order(c.count);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(3));
    Adler32OfPieces pieces(c.count, c.length);
    for (size_t index : order)
      pieces.Add(index, Adler32(1, std::span(stream).subspan(index * c.length, c.length)));
    EXPECT_EQ(pieces.Value(), adler32(1, stream.data(), stream.size()))
        << c.count << " x " << c.length;
  }
}

}  // namespace
}  // namespace vellumo::codecs
