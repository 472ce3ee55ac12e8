#include "picture_converter.h"

#include <unistd.h>

#include <optional>
#include <string>

#include "partial_files.h"
#include "picture_decoder.h"
#include "png_file.h"
#include "wallpaper_files.h"

namespace vellumo {

std::optional<WrittenBitmap> LinuxPictureConverter::ConvertToBitmap(const std::string& picture,
                                                                    const std::string& bitmap) {
  if (bitmap.empty()) return std::nullopt;
  PngFile file;
  std::optional<PartialFile> partial;
  const auto on_size = [&](PixelSize size) {
    partial.emplace(bitmap);
    return !partial->path().empty() && file.Open(partial->path(), size.width, size.height);
  };
  const auto on_row = [&](int y, std::span<const uint8_t> bgr) { return file.WriteRow(y, bgr); };
  const auto size = DecodePicture(picture, on_size, on_row);
  const bool written = file.Close();
  if (size && written && partial) {
    // Named after the partial file's unique letters. Should an earlier file of ours hold that
    // name, the move fails rather than replace what the desktop may be showing.
    std::string fresh = FreshWallpaperPath(bitmap, partial->suffix());
    if (MoveToNewName(partial->path(), fresh)) return WrittenBitmap{*size, std::move(fresh)};
  }
  if (partial) partial->Discard();
  return std::nullopt;
}

void LinuxPictureConverter::RemoveEarlierBitmaps(const std::string& bitmap,
                                                 const std::string& shown) {
  RemoveEarlierWallpapers(bitmap, shown);
}

void LinuxPictureConverter::DiscardBitmap(const std::string& written) {
  unlink(written.c_str());
}

}  // namespace vellumo
