// libFuzzer target over one picture decoder, chosen at build time by VELLUMO_FUZZ_DECODER
// (DecodeBmp, DecodeJpeg, DecodeGif or DecodePng). Input comes from memory through fmemopen, so
// the decoder reads exactly the code path it reads from files.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "decoders.h"

namespace {

// Larger pictures are valid but make each run slow; the size logic itself is covered by the
// unit tests.
constexpr int64_t kMaxFuzzPixels = 4 * 1024 * 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (file == nullptr) return 0;
  vellumo::PixelSize declared;
  std::vector<uint8_t> seen;
  const auto on_size = [&](vellumo::PixelSize s) {
    declared = s;
    if (int64_t{s.width} * s.height > kMaxFuzzPixels) return false;
    seen.assign(s.height, 0);
    return true;
  };
  unsigned checksum = 0;
  const auto on_row = [&](int y, std::span<const uint8_t> bgr) {
    // Each row arrives once, inside the picture, at full width.
    if (y < 0 || y >= declared.height || seen[y]++ != 0) __builtin_trap();
    if (bgr.size() != static_cast<size_t>(declared.width) * 3) __builtin_trap();
    for (uint8_t byte : bgr) checksum += byte;  // every byte must be readable
    return true;
  };
  const auto result = vellumo::codecs::VELLUMO_FUZZ_DECODER(file, on_size, on_row);
  if (result && (result->width != declared.width || result->height != declared.height)) {
    __builtin_trap();
  }
  std::fclose(file);
  return static_cast<int>(checksum & 0);
}
