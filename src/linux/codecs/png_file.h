#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "checksums.h"

namespace vellumo {

// Writes an 8-bit RGB PNG row by row, uncompressed (stored deflate blocks), so writing costs
// little more than the bytes themselves. Every row has a fixed place and size in the file:
//
//   signature, IHDR, IDAT holding the zlib header (2 bytes),
//   one IDAT per row: filter byte 0 and the row's red-green-blue bytes, cut into stored blocks
//     of at most 65535 bytes (each a 5-byte block header and its bytes),
//   IDAT holding the Adler-32 of all rows, IEND.
//
// So rows may arrive in any order (top-down decoders, interlaced GIFs, bottom-up BMPs) and each
// goes to its place at once; the Adler-32 is built from the rows' own checksums, and no whole
// picture is ever held in memory.
class PngFile {
 public:
  PngFile() = default;
  PngFile(const PngFile&) = delete;
  PngFile& operator=(const PngFile&) = delete;
  ~PngFile();

  // Creates (or truncates) `path` at its final length and writes the headers. False for an
  // unwritable path or a size IsSensibleBitmapSize refuses.
  bool Open(const std::string& path, int width, int height);

  // `bgr` holds width x 3 bytes, blue-green-red; y = 0 is the top row. Each row once: a row
  // outside the picture or given twice is refused.
  bool WriteRow(int y, std::span<const uint8_t> bgr);

  // Writes the checksum of the data and the end, and closes; true when every row was written
  // and every byte reached the file.
  bool Close();

  // The errno of the first system call that failed, 0 when none did.
  int error() const { return error_; }

 private:
  bool Failed();

  bool Write(const std::vector<uint8_t>& bytes, int64_t offset);

  int fd_ = -1;
  int width_ = 0;
  int height_ = 0;
  bool ok_ = false;
  int error_ = 0;
  int rows_written_ = 0;
  std::vector<bool> written_;
  std::vector<uint8_t> row_;    // filter byte and red-green-blue: the data the Adler-32 covers
  std::vector<uint8_t> chunk_;  // the row's IDAT chunk as it goes to the file
  codecs::Adler32OfPieces adler_{1, 1};
};

}  // namespace vellumo
