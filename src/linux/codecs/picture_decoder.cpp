#include "picture_decoder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "decoders.h"
#include "platform/bitmap_file.h"

namespace vellumo {
namespace codecs {

bool AcceptSize(int64_t width, int64_t height, const SizeHandler& on_size) {
  if (!IsSensibleBitmapSize(width, height)) return false;
  return !on_size || on_size(PixelSize{static_cast<int>(width), static_cast<int>(height)});
}

std::optional<PixelSize> DecodePictureStream(std::FILE* file, const SizeHandler& on_size,
                                             const RowHandler& on_row, const ScaleHandler& scale) {
  std::array<uint8_t, 6> magic{};
  if (std::fread(magic.data(), 1, magic.size(), file) != magic.size()) return std::nullopt;
  if (std::fseek(file, 0, SEEK_SET) != 0) return std::nullopt;
  if (magic[0] == 'B' && magic[1] == 'M') return DecodeBmp(file, on_size, on_row);
  if (magic[0] == 0xFF && magic[1] == 0xD8 && magic[2] == 0xFF) {
    return DecodeJpeg(file, on_size, on_row, scale);
  }
  if (std::memcmp(magic.data(), "GIF87a", 6) == 0 || std::memcmp(magic.data(), "GIF89a", 6) == 0) {
    return DecodeGif(file, on_size, on_row);
  }
  return std::nullopt;
}

}  // namespace codecs

namespace {

// Opens a regular file for reading. A named pipe or a device would block fopen or the first
// read for ever, so the file is opened without waiting and checked before any byte is read.
std::FILE* OpenRegularFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info;
  std::FILE* file = nullptr;
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) file = fdopen(fd, "rb");
  if (!file) close(fd);
  return file;
}

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// Why the open failed: the system's words, or ours for what it does not open.
std::string OpenFailure(const std::string& path, int error) {
  if (path.empty()) return "no file named";
  if (error != 0) return std::strerror(error);
  return "not a regular file";
}

bool KnownMagic(const std::array<uint8_t, 6>& magic) {
  return (magic[0] == 'B' && magic[1] == 'M') ||
         (magic[0] == 0xFF && magic[1] == 0xD8 && magic[2] == 0xFF) ||
         std::memcmp(magic.data(), "GIF87a", 6) == 0 || std::memcmp(magic.data(), "GIF89a", 6) == 0;
}

// Why a decoder gave up on a stream it was handed, read off the stream afterwards: the end of
// the file came first, a read failed, or the bytes made no sense (or a size too large to take).
std::string StreamFailure(std::FILE* file) {
  const bool ended = std::feof(file) != 0;
  const bool failed = std::ferror(file) != 0;
  std::rewind(file);
  std::array<uint8_t, 6> magic{};
  const size_t read = std::fread(magic.data(), 1, magic.size(), file);
  if (read == 0 && std::feof(file)) return "empty file";
  if (read < magic.size() || !KnownMagic(magic)) return "not a picture (BMP, JPEG or GIF)";
  if (failed) return "read error";
  if (ended) return "cut short";
  return "damaged or too large";
}

FilePtr OpenPicture(const std::string& path) {
  return FilePtr(path.empty() ? nullptr : OpenRegularFile(path), &std::fclose);
}

bool IsPng(std::FILE* file) {
  std::array<uint8_t, 8> signature{};
  const bool read = std::fread(signature.data(), 1, signature.size(), file) == signature.size();
  return std::fseek(file, 0, SEEK_SET) == 0 && read &&
         std::memcmp(signature.data(), "\x89PNG\r\n\x1A\n", signature.size()) == 0;
}

}  // namespace

std::optional<PixelSize> DecodePicture(const std::string& path, const SizeHandler& on_size,
                                       const RowHandler& on_row, const ScaleHandler& scale,
                                       std::string* why) {
  errno = 0;
  const FilePtr file = OpenPicture(path);
  if (!file) {
    if (why) *why = OpenFailure(path, errno);
    return std::nullopt;
  }
  if (!why) return codecs::DecodePictureStream(file.get(), on_size, on_row, scale);
  // The handlers are watched, so a stop of theirs is not blamed on the file.
  bool stopped = false;
  const SizeHandler watched_size = [&](PixelSize size) {
    stopped = on_size && !on_size(size);
    return !stopped;
  };
  const RowHandler watched_row = [&](int y, std::span<const uint8_t> bgr) {
    stopped = on_row && !on_row(y, bgr);
    return !stopped;
  };
  const auto size = codecs::DecodePictureStream(file.get(), watched_size, watched_row, scale);
  why->clear();
  if (!size && !stopped) *why = StreamFailure(file.get());
  return size;
}

std::optional<PixelSize> ReadPictureSize(const std::string& path) {
  std::optional<PixelSize> size;
  DecodePicture(
      path,
      [&size](PixelSize upright) {
        size = upright;
        return false;  // the size is all that is wanted
      },
      [](int, std::span<const uint8_t>) { return false; });
  return size;
}

std::optional<PixelSize> DecodeWallpaper(const std::string& path, const SizeHandler& on_size,
                                         const RowHandler& on_row) {
  const FilePtr file = OpenPicture(path);
  if (!file) return std::nullopt;
  if (IsPng(file.get())) return codecs::DecodePng(file.get(), on_size, on_row);
  return codecs::DecodePictureStream(file.get(), on_size, on_row);
}

}  // namespace vellumo
