#include "wic_picture_converter.h"

#include <wincodec.h>
#include <windows.h>

// <windows.h> maps ReplaceFile to the system's ReplaceFileW; ours is the core's.
#undef ReplaceFile

#include <algorithm>
#include <filesystem>
#include <new>
#include <optional>
#include <vector>

#include "com_ptr.h"
#include "long_path.h"
#include "partial_files.h"
#include "platform/bitmap_file.h"
#include "platform/upright_rows.h"
#include "system_message.h"
#include "utf.h"
#include "watched_file_stream.h"
#include "wic_failure.h"
#include "wic_source.h"

namespace vellumo {
namespace {

// Rows are copied a strip at a time; a strip stays below this many bytes (but holds at least
// one row), so even a very wide picture never needs a large buffer.
constexpr size_t kStripRows = 64;
constexpr size_t kStripBytes = size_t{4} << 20;

// The picture's first frame (see wic_source.h), and the same converted to 32-bit
// blue-green-red-alpha. Every decoder's output converts to this format (Wine's converter, for
// one, cannot turn palette pictures into 24-bit directly); the fourth byte is dropped on the way
// into the bitmap.
struct Source : WicSource {
  ComPtr<IWICFormatConverter> converter;
};

HRESULT OpenSource(const std::wstring& picture, Source& source) {
  HRESULT result = OpenWicSource(picture, source);
  if (FAILED(result)) return result;
  if (FAILED(result = source.factory->CreateFormatConverter(source.converter.out()))) return result;
  // Alpha only where it means transparency, on a GIF's screen: a 32-bit bitmap's fourth byte is
  // often just unused.
  const WICPixelFormatGUID format =
      source.on_screen ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat32bppBGR;
  return source.converter->Initialize(source.frame.get(), format, WICBitmapDitherTypeNone, nullptr,
                                      0.0, WICBitmapPaletteTypeCustom);
}

// Why the picture gave nothing. Without WIC itself no picture would do.
ConversionFailure PictureFailure(HRESULT result, const Source& source) {
  if (!source.factory) return {false, SystemMessageOf(result)};
  if (!source.file) {
    const std::string words = SystemMessageOf(result);
    return {true, words.empty() ? "cannot be read" : words};
  }
  return {true, DecodeFailure(result, *source.file.get())};
}

void FillBackground(const Source& source, std::vector<uint8_t>& row) {
  for (size_t i = 0; i < row.size(); i += 3) std::copy_n(source.background, 3, row.data() + i);
}

// One picture row: the background, with the frame's row (`frame_row`, 4 bytes a pixel) over the
// columns it covers.
void Compose(const Source& source, FrameSpan columns, const uint8_t* frame_row,
             std::vector<uint8_t>& row) {
  FillBackground(source, row);
  for (UINT x = columns.first; x < columns.last; ++x) {
    const uint8_t* pixel = frame_row + size_t{x - source.left} * 4;
    if (source.on_screen && pixel[3] == 0) continue;
    std::copy_n(pixel, 3, row.data() + size_t{x} * 3);
  }
}

// The decoder's failure, or E_ABORT when `out` refused a row.
HRESULT CopyRows(Source& source, UprightRows& out) {
  const size_t stride = size_t{source.frame_width} * 4;
  const size_t strip_rows = std::clamp<size_t>(kStripBytes / stride, 1, kStripRows);
  const FrameSpan columns = Covered(source.left, source.frame_width, source.width);
  const FrameSpan rows_covered = Covered(source.top, source.frame_height, source.height);
  std::vector<uint8_t> strip(stride * strip_rows);
  std::vector<uint8_t> row(size_t{source.width} * 3);
  for (UINT y = 0; y < source.height;) {
    if (!rows_covered.Holds(y)) {
      FillBackground(source, row);
      if (!out.OnRow(static_cast<int>(y), row)) return E_ABORT;
      ++y;
      continue;
    }
    const UINT rows = static_cast<UINT>(std::min<size_t>(strip_rows, rows_covered.last - y));
    const WICRect rect{0, static_cast<INT>(y - source.top), static_cast<INT>(source.frame_width),
                       static_cast<INT>(rows)};
    const HRESULT copied = source.converter->CopyPixels(
        &rect, static_cast<UINT>(stride), static_cast<UINT>(stride * rows), strip.data());
    if (FAILED(copied)) return copied;
    for (UINT r = 0; r < rows; ++r) {
      Compose(source, columns, strip.data() + r * stride, row);
      if (!out.OnRow(static_cast<int>(y + r), row)) return E_ABORT;
    }
    y += rows;
  }
  return S_OK;
}

// The wallpaper file's place refused it: no picture mends that. `error` is the system's last
// error, 0 when it gave none.
ConversionFailure PlaceFailure(DWORD error, const char* otherwise) {
  const std::string words = error != 0 ? SystemMessage(error) : std::string();
  return {false, words.empty() ? otherwise : words};
}

// The bitmap file, noting why the first call that failed did: the system's last error right
// after it, 0 when the system gave none.
class BitmapWriter {
 public:
  bool Open(const std::filesystem::path& path, PixelSize size) {
    written_ = size;
    SetLastError(0);
    return Noted(file_.Open(path, size.width, size.height));
  }
  bool WriteRow(int y, std::span<const uint8_t> row) {
    SetLastError(0);
    return Noted(file_.WriteRow(y, row));
  }
  bool Close() {
    SetLastError(0);
    return Noted(file_.Close());
  }

  PixelSize written() const { return written_; }
  bool failed() const { return failed_; }
  ConversionFailure Failure() const { return PlaceFailure(error_, "write error"); }

 private:
  bool Noted(bool ok) {
    if (ok || failed_) return ok;
    failed_ = true;
    error_ = GetLastError();
    return false;
  }

  BitmapFile file_;
  PixelSize written_;
  bool failed_ = false;
  DWORD error_ = 0;
};

// The bitmap of the picture turned upright. When it fails, `out` knows whether writing did;
// otherwise the picture was at fault, and the HRESULT says why.
HRESULT WriteBitmap(Source& source, const std::filesystem::path& temp, BitmapWriter& out) {
  const SizeHandler on_size = [&](PixelSize size) { return out.Open(temp, size); };
  const RowHandler on_row = [&](int y, std::span<const uint8_t> row) {
    return out.WriteRow(y, row);
  };
  UprightRows upright(on_size, on_row);
  upright.SetOrientation(source.orientation);
  // Refused by the file (which `out` notes), or too large to hold for turning.
  if (!upright.OnSize({static_cast<int>(source.width), static_cast<int>(source.height)})) {
    out.Close();
    return WINCODEC_ERR_IMAGESIZEOUTOFRANGE;
  }
  HRESULT result = CopyRows(source, upright);
  // Turned pictures are held whole and written only now: a refusal here is a lack of memory.
  if (SUCCEEDED(result) && !upright.Finish()) result = WINCODEC_ERR_IMAGESIZEOUTOFRANGE;
  if (!out.Close() && SUCCEEDED(result)) result = E_ABORT;
  return result;
}

// A picture may be very wide: its strip buffer can then be more than the system can give.
HRESULT WriteBitmapSafely(Source& source, const std::filesystem::path& temp, BitmapWriter& out) {
  try {
    return WriteBitmap(source, temp, out);
  } catch (const std::bad_alloc&) {
    return WINCODEC_ERR_IMAGESIZEOUTOFRANGE;
  }
}

// Decodes into a new temporary file next to `target`; returns its path and the picture's size,
// or nothing (and no file) on failure, with the reason in `failure`.
std::optional<PixelSize> Convert(const std::wstring& picture, const std::filesystem::path& target,
                                 std::filesystem::path& temp, ConversionFailure& failure) {
  Source source;
  if (const HRESULT opened = OpenSource(picture, source); FAILED(opened)) {
    failure = PictureFailure(opened, source);
    return std::nullopt;
  }
  SetLastError(0);
  temp = CreatePartialFile(target);
  if (temp.empty()) {
    failure = PlaceFailure(GetLastError(), "cannot create the wallpaper file");
    return std::nullopt;
  }
  BitmapWriter out;
  const HRESULT written = WriteBitmapSafely(source, temp, out);
  if (SUCCEEDED(written)) return out.written();
  // A write that failed is the folder's fault even when the picture's rows stopped for it.
  failure = out.failed() ? out.Failure() : PictureFailure(written, source);
  DeleteFileW(temp.c_str());
  return std::nullopt;
}

}  // namespace

std::optional<WrittenBitmap> WicPictureConverter::ConvertToBitmap(const std::string& picture,
                                                                  const std::string& bitmap,
                                                                  ConversionFailure& failure) {
  if (picture.empty()) {
    failure = {true, "no file named"};
    return std::nullopt;
  }
  if (bitmap.empty()) {
    failure = {false, "no place for the wallpaper file"};
    return std::nullopt;
  }
  const std::filesystem::path target(LongPathForm(Widen(bitmap)));
  std::filesystem::path temp;
  // The decoder has let go of the picture by now: it may be the old bitmap itself.
  const auto size = Convert(LongPathForm(Widen(picture)), target, temp, failure);
  if (!size) return std::nullopt;
  if (!ReplaceFile(temp, target)) {
    failure = PlaceFailure(GetLastError(), "cannot replace the wallpaper file");
    DeleteFileW(temp.c_str());
    return std::nullopt;
  }
  return WrittenBitmap{*size, bitmap};
}

}  // namespace vellumo
