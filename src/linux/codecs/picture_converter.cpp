#include "picture_converter.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "picture_decoder.h"
#include "platform/bitmap_file.h"

namespace vellumo {
namespace {

// A fresh, uniquely named file in the target's folder, so the final rename stays on one file
// system. Empty when none can be created.
std::string MakeTempFile(const std::string& target) {
  const std::filesystem::path folder = std::filesystem::path(target).parent_path();
  std::string name = (folder / ".vellumo.bmp.XXXXXX").string();
  const int fd = mkstemp(name.data());
  if (fd < 0) return {};
  // mkstemp makes the file private; the bitmap gets the usual mode for new files instead.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  close(fd);
  return name;
}

}  // namespace

std::optional<PixelSize> LinuxPictureConverter::ConvertToBitmap(const std::string& picture,
                                                                const std::string& bitmap) {
  if (bitmap.empty()) return std::nullopt;
  BitmapFile file;
  std::string temp;
  const auto on_size = [&](PixelSize size) {
    temp = MakeTempFile(bitmap);
    return !temp.empty() && file.Open(temp, size.width, size.height);
  };
  const auto on_row = [&](int y, std::span<const uint8_t> bgr) { return file.WriteRow(y, bgr); };
  auto size = DecodePicture(picture, on_size, on_row);
  const bool written = file.Close();
  if (size && written && ReplaceFile(temp, bitmap)) return size;
  if (!temp.empty()) unlink(temp.c_str());
  return std::nullopt;
}

}  // namespace vellumo
