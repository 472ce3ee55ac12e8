#include "controls.h"

namespace vellumo {

RECT Offset(RECT rect, POINT by) {
  OffsetRect(&rect, by.x, by.y);
  return rect;
}

POINT CentredOnScreen(SIZE frame) {
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return POINT{area.left + (area.right - area.left - frame.cx) / 2,
               area.top + (area.bottom - area.top - frame.cy) / 2};
}

HWND CreateChild(HWND parent, const ChildArgs& args) {
  const RECT& r = args.rect;
  const HWND child = CreateWindowExW(
      args.ex_style, args.class_name, args.text.c_str(), WS_CHILD | WS_VISIBLE | args.style, r.left,
      r.top, r.right - r.left, r.bottom - r.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)), GetModuleHandleW(nullptr), nullptr);
  if (!child) return nullptr;
  HFONT font = args.font;
  if (!font) font = reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0));
  if (font) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace vellumo
