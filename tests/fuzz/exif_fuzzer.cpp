// libFuzzer target over the EXIF orientation reader: any bytes as the head of a JPEG file, and
// as an APP1 segment's data.
#include <cstddef>
#include <cstdint>

#include "platform/exif_orientation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (const int orientation :
       {vellumo::ExifOrientation({data, size}), vellumo::JpegOrientation({data, size})}) {
    if (orientation < 1 || orientation > 8) __builtin_trap();
  }
  return 0;
}
