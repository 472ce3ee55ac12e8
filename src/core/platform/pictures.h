#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace vellumo {

struct PixelSize {
  int width = 0;
  int height = 0;
};

// The size a picture of the given full size is wanted at (a preview's), decoded no smaller.
using WantedSize = std::function<PixelSize(PixelSize full)>;

// Called once with the picture's pixel size before any row; returning false stops decoding.
using SizeHandler = std::function<bool(PixelSize)>;
// Called once per row with width x 3 bytes, blue-green-red; y = 0 is the top row. Rows come in
// whatever order the file stores them. Returning false stops decoding.
using RowHandler = std::function<bool(int y, std::span<const uint8_t> bgr)>;

// A converted picture: its pixel size and the file it was written to.
struct WrittenBitmap {
  PixelSize size;
  std::string path;
};

// Why a conversion wrote nothing, in the system's own words where it has them ("Permission
// denied", "No space left on device") and in ours where the picture is at fault ("not a
// picture", "cut short").
struct ConversionFailure {
  // The picture could not be read or decoded, so another picture may do; otherwise the bitmap
  // could not be written (its folder refused it, the disk is full), which no picture mends.
  bool picture_at_fault = true;
  std::string reason;
};

// Loads a picture (BMP, JPEG, GIF) and writes it as the wallpaper bitmap.
class PictureConverter {
 public:
  virtual ~PictureConverter() = default;

  // Writes the whole picture at its pixel size for the wallpaper kept at `bitmap`: to that file
  // itself, or, where desktops ignore a path they already show, to a new file beside it. The
  // new file appears only once it is complete: on any failure (missing, corrupt, truncated or
  // absurdly large picture, unwritable folder) the old bitmap stays exactly as it was, nothing
  // new is left, nothing is returned and `failure` says why.
  virtual std::optional<WrittenBitmap> ConvertToBitmap(const std::string& picture,
                                                       const std::string& bitmap,
                                                       ConversionFailure& failure) = 0;
  // The same for a caller that needs no reason.
  std::optional<WrittenBitmap> ConvertToBitmap(const std::string& picture,
                                               const std::string& bitmap) {
    ConversionFailure ignored;
    return ConvertToBitmap(picture, bitmap, ignored);
  }

  // For a converter that writes each change to a new file, the tidying once the desktop was
  // asked to show it; one that rewrites `bitmap` in place has nothing to tidy.
  // The desktop shows `shown`: removes the files earlier changes wrote for `bitmap`.
  virtual void RemoveEarlierBitmaps(const std::string& /*bitmap*/, const std::string& /*shown*/) {}
  // The desktop did not take `written`: removes it, so the one it still shows stays the only one.
  virtual void DiscardBitmap(const std::string& /*written*/) {}
};

}  // namespace vellumo
