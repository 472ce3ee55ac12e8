#pragma once

#include "win.h"

#include <string>

#include "ui/layout.h"

namespace vellumo {

// Windows are laid out in pixels at 96 dpi and scaled to the screen's dpi by the one rule of
// every window (ui/layout.h).
inline int Scale(int pixels, int dpi) {
  return ToDevice(pixels, dpi);
}

inline RECT ToRect(const DeviceRect& rect) {
  return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

// A rectangle given as left, top, width, height at 96 dpi, scaled to `dpi`.
inline RECT ScaledRect(int left, int top, int width, int height, int dpi) {
  return ToRect(ToDevice(Box{left, top, width, height}, dpi));
}

// A rectangle moved by an offset (a control inside a frame is placed relative to the frame).
RECT Offset(RECT rect, POINT by);

// The top-left corner that centres a window of `frame` size on the primary screen's work area.
POINT CentredOnScreen(SIZE frame);

// One child control of a window.
struct ChildArgs {
  const wchar_t* class_name = L"STATIC";
  std::wstring text;
  DWORD style = 0;  // WS_CHILD | WS_VISIBLE are added
  DWORD ex_style = 0;
  RECT rect{};  // in the parent's client pixels
  int id = 0;
  HFONT font = nullptr;  // the parent's font when null
};

// Creates the control; null on failure.
HWND CreateChild(HWND parent, const ChildArgs& args);

std::wstring WindowText(HWND window);

}  // namespace vellumo
