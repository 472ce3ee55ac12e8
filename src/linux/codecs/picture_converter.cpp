#include "picture_converter.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#include "partial_files.h"
#include "picture_decoder.h"
#include "png_file.h"
#include "wallpaper_files.h"

namespace vellumo {

std::optional<WrittenBitmap> LinuxPictureConverter::ConvertToBitmap(const std::string& picture,
                                                                    const std::string& bitmap,
                                                                    ConversionFailure& failure) {
  failure = {false, "no place for the wallpaper file"};
  if (bitmap.empty()) return std::nullopt;
  PngFile file;
  std::optional<PartialFile> partial;
  int write_error = 0;
  const auto on_size = [&](PixelSize size) {
    partial.emplace(bitmap);
    if (partial->path().empty()) write_error = partial->error();
    return !partial->path().empty() && file.Open(partial->path(), size.width, size.height);
  };
  const auto on_row = [&](int y, std::span<const uint8_t> bgr) { return file.WriteRow(y, bgr); };
  std::string why;
  const auto size = DecodePicture(picture, on_size, on_row, {}, &why);
  const bool written = file.Close();
  if (size && written && partial) {
    // Named after the partial file's unique letters. Should an earlier file of ours hold that
    // name, the move fails rather than replace what the desktop may be showing.
    std::string fresh = FreshWallpaperPath(bitmap, partial->suffix());
    if (MoveToNewName(partial->path(), fresh)) return WrittenBitmap{*size, std::move(fresh)};
    write_error = errno;
  }
  if (partial) partial->Discard();
  if (!why.empty()) {
    failure = {true, why};
  } else {
    const int error = write_error != 0 ? write_error : file.error();
    failure = {false, error != 0 ? std::strerror(error) : "write error"};
  }
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
