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
#include "gif_screen.h"
#include "long_path.h"
#include "partial_files.h"
#include "platform/bitmap_file.h"
#include "platform/upright_rows.h"
#include "utf.h"
#include "wic_orientation.h"

namespace vellumo {
namespace {

// Rows are copied a strip at a time; a strip stays below this many bytes (but holds at least
// one row), so even a very wide picture never needs a large buffer.
constexpr size_t kStripRows = 64;
constexpr size_t kStripBytes = size_t{4} << 20;

// The picture's first frame, converted to 32-bit blue-green-red-alpha, and where it sits in the
// picture. Every decoder's output converts to this format (Wine's converter, for one, cannot
// turn palette pictures into 24-bit directly); the fourth byte is dropped on the way into the
// bitmap.
//
// A GIF's picture is its logical screen: the first frame is drawn at its offset, and the rest
// of the screen, like the frame's transparent pixels, shows the background colour of the global
// colour table (black without one). Any other picture is its frame.
struct Source {
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICFormatConverter> converter;
  UINT width = 0;  // of the picture
  UINT height = 0;
  UINT frame_width = 0;
  UINT frame_height = 0;
  UINT left = 0;  // the frame's place in the picture
  UINT top = 0;
  int orientation = 1;                // a photo's EXIF orientation, turned upright on the way
  bool transparency = false;          // frame pixels of alpha 0 show the background
  uint8_t background[3] = {0, 0, 0};  // blue, green, red
};

// Widens a GIF's picture to its logical screen. Without the screen's size the picture stays
// the frame.
void PlaceOnGifScreen(Source& source) {
  const auto screen = ReadGifScreen(source.factory.get(), source.decoder.get(), source.frame.get());
  if (!screen) return;
  source.width = screen->width;
  source.height = screen->height;
  source.transparency = true;
  source.left = screen->left;
  source.top = screen->top;
  std::copy_n(screen->background, 3, source.background);
}

bool OpenSource(const std::wstring& picture, Source& source) {
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory,
                              reinterpret_cast<void**>(source.factory.out()))))
    return false;
  if (FAILED(source.factory->CreateDecoderFromFilename(picture.c_str(), nullptr, GENERIC_READ,
                                                       WICDecodeMetadataCacheOnDemand,
                                                       source.decoder.out())))
    return false;
  if (FAILED(source.decoder->GetFrame(0, source.frame.out()))) return false;
  if (FAILED(source.frame->GetSize(&source.frame_width, &source.frame_height))) return false;
  source.width = source.frame_width;
  source.height = source.frame_height;
  PlaceOnGifScreen(source);
  GUID container{};
  if (SUCCEEDED(source.decoder->GetContainerFormat(&container)) &&
      IsEqualGUID(container, GUID_ContainerFormatJpeg))
    source.orientation = ReadOrientation(source.frame.get(), picture);
  // Refused before anything is allocated or written.
  if (!IsSensibleBitmapSize(source.width, source.height) ||
      !IsSensibleBitmapSize(source.frame_width, source.frame_height))
    return false;
  if (FAILED(source.factory->CreateFormatConverter(source.converter.out()))) return false;
  // Alpha only where it means transparency: a 32-bit bitmap's fourth byte is often just unused.
  const WICPixelFormatGUID format =
      source.transparency ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat32bppBGR;
  return SUCCEEDED(source.converter->Initialize(source.frame.get(), format, WICBitmapDitherTypeNone,
                                                nullptr, 0.0, WICBitmapPaletteTypeCustom));
}

// The rows and columns of the picture the frame covers: [first, last), clipped to the picture.
struct Span {
  UINT first;
  UINT last;
  bool Holds(UINT i) const { return i >= first && i < last; }
};

Span Covered(UINT offset, UINT frame_length, UINT picture_length) {
  if (offset >= picture_length) return {0, 0};
  return {offset, offset + std::min(frame_length, picture_length - offset)};
}

void FillBackground(const Source& source, std::vector<uint8_t>& row) {
  for (size_t i = 0; i < row.size(); i += 3) std::copy_n(source.background, 3, row.data() + i);
}

// One picture row: the background, with the frame's row (`frame_row`, 4 bytes a pixel) over the
// columns it covers.
void Compose(const Source& source, Span columns, const uint8_t* frame_row,
             std::vector<uint8_t>& row) {
  FillBackground(source, row);
  for (UINT x = columns.first; x < columns.last; ++x) {
    const uint8_t* pixel = frame_row + size_t{x - source.left} * 4;
    if (source.transparency && pixel[3] == 0) continue;
    std::copy_n(pixel, 3, row.data() + size_t{x} * 3);
  }
}

bool CopyRows(Source& source, UprightRows& out) {
  const size_t stride = size_t{source.frame_width} * 4;
  const size_t strip_rows = std::clamp<size_t>(kStripBytes / stride, 1, kStripRows);
  const Span columns = Covered(source.left, source.frame_width, source.width);
  const Span rows_covered = Covered(source.top, source.frame_height, source.height);
  std::vector<uint8_t> strip(stride * strip_rows);
  std::vector<uint8_t> row(size_t{source.width} * 3);
  for (UINT y = 0; y < source.height;) {
    if (!rows_covered.Holds(y)) {
      FillBackground(source, row);
      if (!out.OnRow(static_cast<int>(y), row)) return false;
      ++y;
      continue;
    }
    const UINT rows = static_cast<UINT>(std::min<size_t>(strip_rows, rows_covered.last - y));
    const WICRect rect{0, static_cast<INT>(y - source.top), static_cast<INT>(source.frame_width),
                       static_cast<INT>(rows)};
    if (FAILED(source.converter->CopyPixels(&rect, static_cast<UINT>(stride),
                                            static_cast<UINT>(stride * rows), strip.data())))
      return false;
    for (UINT r = 0; r < rows; ++r) {
      Compose(source, columns, strip.data() + r * stride, row);
      if (!out.OnRow(static_cast<int>(y + r), row)) return false;
    }
    y += rows;
  }
  return true;
}

// The bitmap of the picture turned upright; its size in `written`.
bool WriteBitmap(Source& source, const std::filesystem::path& temp, PixelSize& written) {
  BitmapFile out;
  const SizeHandler on_size = [&](PixelSize size) {
    written = size;
    return out.Open(temp, size.width, size.height);
  };
  const RowHandler on_row = [&](int y, std::span<const uint8_t> row) {
    return out.WriteRow(y, row);
  };
  UprightRows upright(on_size, on_row);
  upright.SetOrientation(source.orientation);
  if (!upright.OnSize({static_cast<int>(source.width), static_cast<int>(source.height)})) {
    out.Close();
    return false;
  }
  const bool copied = CopyRows(source, upright) && upright.Finish();
  return out.Close() && copied;
}

// A picture may be very wide: its strip buffer can then be more than the system can give.
bool WriteBitmapSafely(Source& source, const std::filesystem::path& temp, PixelSize& written) {
  try {
    return WriteBitmap(source, temp, written);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// Decodes into a new temporary file next to `target`; returns its path and the picture's size,
// or nothing (and no file) on failure.
std::optional<PixelSize> Convert(const std::wstring& picture, const std::filesystem::path& target,
                                 std::filesystem::path& temp) {
  Source source;
  if (!OpenSource(picture, source)) return std::nullopt;
  temp = CreatePartialFile(target);
  if (temp.empty()) return std::nullopt;
  PixelSize written;
  if (!WriteBitmapSafely(source, temp, written)) {
    DeleteFileW(temp.c_str());
    return std::nullopt;
  }
  return written;
}

}  // namespace

std::optional<WrittenBitmap> WicPictureConverter::ConvertToBitmap(const std::string& picture,
                                                                  const std::string& bitmap,
                                                                  ConversionFailure& failure) {
  failure = {true, "cannot be converted"};
  if (picture.empty() || bitmap.empty()) return std::nullopt;
  const std::filesystem::path target(LongPathForm(Widen(bitmap)));
  std::filesystem::path temp;
  // The decoder has let go of the picture by now: it may be the old bitmap itself.
  const auto size = Convert(LongPathForm(Widen(picture)), target, temp);
  if (!size) return std::nullopt;
  if (!ReplaceFile(temp, target)) {
    DeleteFileW(temp.c_str());
    return std::nullopt;
  }
  return WrittenBitmap{*size, bitmap};
}

}  // namespace vellumo
