#include <png.h>

#include <vector>

#include "decoders.h"

namespace vellumo::codecs {
namespace {

[[noreturn]] void ExitOnError(png_structp png, png_const_charp /*message*/) {
  png_longjmp(png, 1);
}

void IgnoreWarning(png_structp /*png*/, png_const_charp /*message*/) {}

// Everything that can longjmp lives here, holding no C++ objects of its own. Any PNG that is
// not interlaced comes out as 8-bit blue-green-red: palettes and grey expanded, 16-bit channels
// cut to 8, alpha dropped.
bool DecodeRows(png_structp png, png_infop info, std::FILE* file, const SizeHandler& on_size,
                const RowHandler& on_row, std::vector<uint8_t>& row, PixelSize& size) {
  png_init_io(png, file);
  // Only the image chunks matter here. Every other chunk is skipped unread, so a damaged length
  // in a text or profile chunk cannot make libpng allocate gigabytes for it.
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_read_info(png, info);
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int bit_depth = 0;
  int colour_type = 0;
  int interlace = 0;
  png_get_IHDR(png, info, &width, &height, &bit_depth, &colour_type, &interlace, nullptr, nullptr);
  // Interlaced rows come back once per pass; nothing we write is interlaced.
  if (interlace != PNG_INTERLACE_NONE) return false;
  if (!AcceptSize(width, height, on_size)) return false;
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_strip_alpha(png);
  png_set_gray_to_rgb(png);
  png_set_bgr(png);
  png_read_update_info(png, info);
  const size_t row_bytes = size_t{width} * 3;
  if (png_get_rowbytes(png, info) != row_bytes) return false;
  row.resize(row_bytes);
  for (png_uint_32 y = 0; y < height; ++y) {
    png_read_row(png, row.data(), nullptr);
    if (!on_row(static_cast<int>(y), row)) return false;
  }
  // Up to the end: the data's own checksum and the chunks after it are checked too.
  png_read_end(png, nullptr);
  size = {static_cast<int>(width), static_cast<int>(height)};
  return true;
}

// Frees libpng's structures however decoding ends.
class ReadGuard {
 public:
  ReadGuard(png_structp png, png_infop info) : png_(png), info_(info) {}
  ~ReadGuard() { png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr); }
  ReadGuard(const ReadGuard&) = delete;
  ReadGuard& operator=(const ReadGuard&) = delete;

 private:
  png_structp png_;
  png_infop info_;
};

}  // namespace

std::optional<PixelSize> DecodePng(std::FILE* file, const SizeHandler& on_size,
                                   const RowHandler& on_row) {
  png_structp png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, ExitOnError, IgnoreWarning);
  if (png == nullptr) return std::nullopt;
  png_infop info = png_create_info_struct(png);
  // Made before the setjmp, so a longjmp lands in their scope and skips no destructor.
  const ReadGuard guard(png, info);
  std::vector<uint8_t> row;
  PixelSize size;
  if (info == nullptr || setjmp(png_jmpbuf(png)) != 0) return std::nullopt;
  if (!DecodeRows(png, info, file, on_size, on_row, row, size)) return std::nullopt;
  return size;
}

}  // namespace vellumo::codecs
