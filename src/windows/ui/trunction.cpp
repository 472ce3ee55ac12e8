#include "trunction.h"

#include <shlwapi.h>

#include <algorithm>
#include <string_view>
#include <vector>

#include "gdi.h"
#include "platform/trunction.h"
#include "utf.h"

namespace vellumo {
namespace {

int DrawnWidth(HDC dc, std::string_view text) {
  const std::wstring wide = Widen(text);
  SIZE size{};
  if (!GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size)) return 0;
  return size.cx;
}

std::string ShellCompactPath(const std::wstring& wide, UINT pixels, HDC dc) {
  std::vector<wchar_t> buffer(MAX_PATH, L'\0');
  std::copy(wide.begin(), wide.end(), buffer.begin());
  PathCompactPathW(dc, buffer.data(), pixels);
  // The shortened text ends at its first NUL inside the buffer.
  const auto end = std::find(buffer.begin(), buffer.end(), L'\0');
  return Narrow(std::wstring(buffer.begin(), end));
}

}  // namespace

std::string TruncatePath(const std::string& path, int width, HDC dc) {
  const std::wstring wide = Widen(path);
  const int pixels = std::max(width, 0);
  const auto portable = [&] {
    return CompactPath(path, pixels, '\\',
                       [dc](std::string_view text) { return DrawnWidth(dc, text); });
  };

  // The shell routine works in a MAX_PATH buffer; a longer path would overrun its copies.
  if (wide.size() >= MAX_PATH) return portable();

  // It also stops at "...\name": a name too wide for the label would then be clipped mid-letter
  // with nothing to show it was cut. The portable rule cuts the name and ends it in "...".
  const std::string shortened = ShellCompactPath(wide, static_cast<UINT>(pixels), dc);
  return DrawnWidth(dc, shortened) <= pixels ? shortened : portable();
}

std::string TruncatePath(const std::string& path, int width, HWND window, HFONT font) {
  WindowDc dc(window);
  if (!dc.get()) return path;
  Selected selected(dc.get(), font);
  return TruncatePath(path, width, dc.get());
}

}  // namespace vellumo
