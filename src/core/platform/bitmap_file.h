#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>

namespace vellumo {

// The largest picture converted: about 134 million pixels (16384 x 8192, more than any camera
// takes; a bitmap of 384 MiB). A few bytes of GIF or BMP header can claim any size, so anything
// larger is refused before a byte is written.
inline constexpr int64_t kMaxBitmapPixels = int64_t{1} << 27;

// True when a width x height picture may be converted.
bool IsSensibleBitmapSize(int64_t width, int64_t height);

// Writes a 24-bit Windows bitmap row by row. Rows may arrive in any order (top-down decoders,
// interlaced GIFs, bottom-up BMPs); each lands at its place in the bottom-up file, so no whole
// picture is ever held in memory.
class BitmapFile {
 public:
  BitmapFile() = default;
  BitmapFile(const BitmapFile&) = delete;
  BitmapFile& operator=(const BitmapFile&) = delete;
  ~BitmapFile();

  // Creates (or truncates) `path` and writes the headers. False for an unwritable path or a
  // size IsSensibleBitmapSize refuses.
  bool Open(const std::filesystem::path& path, int width, int height);

  // `bgr` holds width x 3 bytes, blue-green-red; y = 0 is the top row.
  bool WriteRow(int y, std::span<const uint8_t> bgr);

  // Flushes and closes; true when every byte reached the file.
  bool Close();

  int width() const { return width_; }
  int height() const { return height_; }

 private:
  std::ofstream file_;  // opened through the path, so UTF-16 names work on Windows
  int width_ = 0;
  int height_ = 0;
  bool ok_ = false;
};

// Moves `temp` over `target` in one step, so readers see either the old file or the new one.
// Implemented by each platform (the standard rename cannot replace a file on every system).
bool ReplaceFile(const std::filesystem::path& temp, const std::filesystem::path& target);

}  // namespace vellumo
