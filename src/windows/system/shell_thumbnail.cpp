#include "shell_thumbnail.h"

#include <shobjidl.h>
#include <windows.h>

#include <algorithm>

#include "com_ptr.h"
#include "long_path.h"
#include "ui/preview.h"
#include "utf.h"

namespace vellumo {

std::optional<PreviewPixels> PixelsOfBitmap(HBITMAP bitmap, PixelSize full) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info) || info.bmWidth <= 0 ||
      info.bmHeight <= 0)
    return std::nullopt;
  PreviewPixels pixels{full, static_cast<int>(info.bmWidth), static_cast<int>(info.bmHeight), {}};
  pixels.bgra.resize(static_cast<size_t>(pixels.width) * pixels.height * 4);
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof(format.bmiHeader);
  format.bmiHeader.biWidth = pixels.width;
  format.bmiHeader.biHeight = -pixels.height;  // top row first
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  const HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(pixels.height),
                             pixels.bgra.data(), &format, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != pixels.height) return std::nullopt;
  // The preview is opaque: a thumbnail's alpha (often 0 where it was never set) is not.
  for (size_t i = 3; i < pixels.bgra.size(); i += 4) pixels.bgra[i] = 255;
  return pixels;
}

std::optional<PreviewPixels> ShellThumbnail(const std::string& path, PixelSize wanted,
                                            PixelSize full) {
  ComPtr<IShellItemImageFactory> factory;
  if (path.empty() || FAILED(SHCreateItemFromParsingName(LongPathForm(Widen(path)).c_str(), nullptr,
                                                         IID_IShellItemImageFactory,
                                                         reinterpret_cast<void**>(factory.out()))))
    return std::nullopt;
  const LONG side = std::max(wanted.width, wanted.height);
  HBITMAP bitmap = nullptr;
  // From the cache only: decoding is our own decoder's work, and it knows the picture better.
  if (FAILED(
          factory->GetImage(SIZE{side, side}, SIIGBF_THUMBNAILONLY | SIIGBF_BIGGERSIZEOK, &bitmap)))
    return std::nullopt;
  auto pixels = PixelsOfBitmap(bitmap, full);
  DeleteObject(bitmap);
  if (!pixels || !ThumbnailCovers({pixels->width, pixels->height}, wanted, full))
    return std::nullopt;
  return pixels;
}

}  // namespace vellumo
