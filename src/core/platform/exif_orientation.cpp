#include "platform/exif_orientation.h"

#include <cstring>

namespace vellumo {
namespace {

constexpr uint8_t kExifHeader[] = {'E', 'x', 'i', 'f', 0, 0};
constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kShortType = 3;
constexpr size_t kEntrySize = 12;

// Numbers in the TIFF data, in the byte order its header names.
class TiffReader {
 public:
  TiffReader(std::span<const uint8_t> data, bool big_endian)
      : data_(data), big_endian_(big_endian) {}

  bool Has(size_t offset, size_t length) const {
    return offset <= data_.size() && length <= data_.size() - offset;
  }
  uint16_t U16(size_t at) const {
    return big_endian_ ? static_cast<uint16_t>(data_[at] << 8 | data_[at + 1])
                       : static_cast<uint16_t>(data_[at + 1] << 8 | data_[at]);
  }
  uint32_t U32(size_t at) const {
    return big_endian_ ? uint32_t{U16(at)} << 16 | U16(at + 2)
                       : uint32_t{U16(at + 2)} << 16 | U16(at);
  }

 private:
  std::span<const uint8_t> data_;
  bool big_endian_;
};

}  // namespace

int ExifOrientation(std::span<const uint8_t> app1) {
  if (app1.size() < sizeof(kExifHeader) + 8) return kUpright;
  if (std::memcmp(app1.data(), kExifHeader, sizeof(kExifHeader)) != 0) return kUpright;
  const auto tiff = app1.subspan(sizeof(kExifHeader));
  const bool big_endian = tiff[0] == 'M' && tiff[1] == 'M';
  if (!big_endian && !(tiff[0] == 'I' && tiff[1] == 'I')) return kUpright;
  const TiffReader reader(tiff, big_endian);
  if (reader.U16(2) != 42) return kUpright;

  const size_t directory = reader.U32(4);
  if (!reader.Has(directory, 2)) return kUpright;
  const size_t entries = reader.U16(directory);
  for (size_t i = 0; i < entries; ++i) {
    const size_t entry = directory + 2 + i * kEntrySize;
    if (!reader.Has(entry, kEntrySize)) return kUpright;
    if (reader.U16(entry) != kOrientationTag) continue;
    if (reader.U16(entry + 2) != kShortType || reader.U32(entry + 4) != 1) return kUpright;
    const int value = reader.U16(entry + 8);  // a short value sits first in its field
    return value >= 1 && value <= 8 ? value : kUpright;
  }
  return kUpright;
}

int JpegOrientation(std::span<const uint8_t> head) {
  constexpr uint8_t kApp1 = 0xE1, kStartOfScan = 0xDA;
  if (head.size() < 2 || head[0] != 0xFF || head[1] != 0xD8) return kUpright;
  size_t at = 2;
  while (at + 4 <= head.size()) {
    if (head[at] != 0xFF) return kUpright;
    const uint8_t marker = head[at + 1];
    if (marker == 0xFF) {  // fill byte before a marker
      ++at;
      continue;
    }
    if (marker == kStartOfScan) return kUpright;
    const size_t length = size_t{head[at + 2]} << 8 | head[at + 3];
    if (length < 2 || at + 2 + length > head.size()) return kUpright;
    if (marker == kApp1) {
      const int orientation = ExifOrientation(head.subspan(at + 4, length - 2));
      if (orientation != kUpright) return orientation;
    }
    at += 2 + length;
  }
  return kUpright;
}

}  // namespace vellumo
