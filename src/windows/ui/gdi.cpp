#include "gdi.h"

#include <iterator>

#include "res/resource.h"

namespace vellumo {

int FontHeight(int points_x100, int dpi) {
  return -MulDiv(points_x100, dpi, 7200);
}

Font CreateFace(const wchar_t* face, int points_x100, int dpi, bool bold) {
  LOGFONTW font{};
  font.lfHeight = FontHeight(points_x100, dpi);
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
  return Font(CreateFontIndirectW(&font));
}

Font CreateMessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return {};
  return Font(CreateFontIndirectW(&metrics.lfMessageFont));
}

int IconImageSize(int size) {
  // The images in vellumo.ico. Loading one as it is avoids the loader's own resampling, which
  // leaves coloured fringes along the edges under Wine.
  constexpr int kImageSizes[] = {16, 32, 48, 64, 128, 256};
  for (const int image : kImageSizes) {
    if (image >= size) return image;
  }
  return kImageSizes[std::size(kImageSizes) - 1];
}

Icon LoadProgramIcon(int size) {
  size = IconImageSize(size);
  auto* icon =
      static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VELLUMO),
                                    IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
  if (!icon) {
    icon =
        static_cast<HICON>(LoadImageW(nullptr, IDI_APPLICATION, IMAGE_ICON, size, size, LR_SHARED));
    // Shared icons belong to the system and must not be destroyed; copy one we can own.
    icon = icon ? CopyIcon(icon) : nullptr;
  }
  return Icon(icon);
}

}  // namespace vellumo
