#include "picture_converter.h"

#include <optional>
#include <string>

#include "partial_files.h"
#include "picture_decoder.h"
#include "platform/bitmap_file.h"

namespace vellumo {

std::optional<PixelSize> LinuxPictureConverter::ConvertToBitmap(const std::string& picture,
                                                                const std::string& bitmap) {
  if (bitmap.empty()) return std::nullopt;
  BitmapFile file;
  std::optional<PartialFile> partial;
  const auto on_size = [&](PixelSize size) {
    partial.emplace(bitmap);
    return !partial->path().empty() && file.Open(partial->path(), size.width, size.height);
  };
  const auto on_row = [&](int y, std::span<const uint8_t> bgr) { return file.WriteRow(y, bgr); };
  auto size = DecodePicture(picture, on_size, on_row);
  const bool written = file.Close();
  if (size && written && partial && ReplaceFile(partial->path(), bitmap)) return size;
  if (partial) partial->Discard();
  return std::nullopt;
}

}  // namespace vellumo
