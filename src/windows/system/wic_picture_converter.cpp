#include "wic_picture_converter.h"

#include <wincodec.h>
#include <windows.h>

// <windows.h> maps ReplaceFile to the system's ReplaceFileW; ours is the core's.
#undef ReplaceFile

#include <algorithm>
#include <filesystem>
#include <new>
#include <vector>

#include "com_ptr.h"
#include "platform/bitmap_file.h"
#include "utf.h"

namespace vellumo {
namespace {

// Rows are copied a strip at a time; a strip stays below this many bytes (but holds at least
// one row), so even a very wide picture never needs a large buffer.
constexpr size_t kStripRows = 64;
constexpr size_t kStripBytes = size_t{4} << 20;

// The picture's first frame, converted to 32-bit blue-green-red-unused. Every decoder's output
// converts to this format (Wine's converter, for one, cannot turn palette pictures into 24-bit
// directly); the fourth byte is dropped on the way into the bitmap.
struct Source {
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICFormatConverter> converter;
  UINT width = 0;
  UINT height = 0;
};

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
  if (FAILED(source.frame->GetSize(&source.width, &source.height))) return false;
  // Refused before anything is allocated or written.
  if (!IsSensibleBitmapSize(source.width, source.height)) return false;
  if (FAILED(source.factory->CreateFormatConverter(source.converter.out()))) return false;
  return SUCCEEDED(source.converter->Initialize(source.frame.get(), GUID_WICPixelFormat32bppBGR,
                                                WICBitmapDitherTypeNone, nullptr, 0.0,
                                                WICBitmapPaletteTypeCustom));
}

void DropFourthBytes(const uint8_t* bgrx, size_t width, uint8_t* bgr) {
  for (size_t x = 0; x < width; ++x, bgrx += 4, bgr += 3) {
    bgr[0] = bgrx[0];
    bgr[1] = bgrx[1];
    bgr[2] = bgrx[2];
  }
}

bool CopyRows(Source& source, BitmapFile& out) {
  const size_t width = source.width;
  const size_t stride = width * 4;
  const size_t strip_rows = std::clamp<size_t>(kStripBytes / stride, 1, kStripRows);
  std::vector<uint8_t> strip(stride * strip_rows);
  std::vector<uint8_t> row_bgr(width * 3);
  for (UINT top = 0; top < source.height;) {
    const UINT rows = static_cast<UINT>(std::min<size_t>(strip_rows, source.height - top));
    const WICRect rect{0, static_cast<INT>(top), static_cast<INT>(width), static_cast<INT>(rows)};
    if (FAILED(source.converter->CopyPixels(&rect, static_cast<UINT>(stride),
                                            static_cast<UINT>(stride * rows), strip.data())))
      return false;
    for (UINT row = 0; row < rows; ++row) {
      DropFourthBytes(strip.data() + row * stride, width, row_bgr.data());
      if (!out.WriteRow(static_cast<int>(top + row), row_bgr)) return false;
    }
    top += rows;
  }
  return true;
}

// A new, empty file next to `target`, so that the final move stays on one volume.
std::filesystem::path MakeTempFile(const std::filesystem::path& target) {
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = L".";
  wchar_t temp[MAX_PATH];
  if (GetTempFileNameW(folder.c_str(), L"vel", 0, temp) == 0) return {};
  return temp;
}

bool WriteBitmap(Source& source, const std::filesystem::path& temp) {
  BitmapFile out;
  if (!out.Open(temp, static_cast<int>(source.width), static_cast<int>(source.height)))
    return false;
  const bool copied = CopyRows(source, out);
  return out.Close() && copied;
}

// A picture may be very wide: its strip buffer can then be more than the system can give.
bool WriteBitmapSafely(Source& source, const std::filesystem::path& temp) {
  try {
    return WriteBitmap(source, temp);
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
  temp = MakeTempFile(target);
  if (temp.empty()) return std::nullopt;
  if (!WriteBitmapSafely(source, temp)) {
    DeleteFileW(temp.c_str());
    return std::nullopt;
  }
  return PixelSize{static_cast<int>(source.width), static_cast<int>(source.height)};
}

}  // namespace

std::optional<PixelSize> WicPictureConverter::ConvertToBitmap(const std::string& picture,
                                                              const std::string& bitmap) {
  if (picture.empty() || bitmap.empty()) return std::nullopt;
  const std::filesystem::path target(Widen(bitmap));
  std::filesystem::path temp;
  // The decoder has let go of the picture by now: it may be the old bitmap itself.
  const auto size = Convert(Widen(picture), target, temp);
  if (!size) return std::nullopt;
  if (!ReplaceFile(temp, target)) {
    DeleteFileW(temp.c_str());
    return std::nullopt;
  }
  return size;
}

}  // namespace vellumo
