#pragma once

#include "win.h"

#include <memory>
#include <type_traits>

namespace vellumo {

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};

using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using Icon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// Font height in pixels for a size in hundredths of a point (negative: the character height
// without the internal leading, as point sizes are meant). 1575 at 96 dpi gives -21.
int FontHeight(int points_x100, int dpi);

// A font by face name at a size in hundredths of a point; the font mapper picks the nearest face
// where the named one is missing.
Font CreateFace(const wchar_t* face, int points_x100, int dpi, bool bold);

// The system's font for dialogs and messages, at the system's dpi.
Font CreateMessageFont();

inline Font CreateArial(int points_x100, int dpi, bool bold) {
  return CreateFace(L"Arial", points_x100, dpi, bold);
}

// The program's icon from the executable's resources, in its smallest image of at least `size`
// pixels (the largest when none is that big), for DrawIconEx to scale to `size`; the system's
// application icon when the module carries none (as in the test programs).
Icon LoadProgramIcon(int size);

// The side of the icon image LoadProgramIcon takes for `size`.
int IconImageSize(int size);

// A window's device context for the duration of a scope.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects a GDI object into a context for the duration of a scope.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object)
      : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
  ~Selected() {
    if (old_) SelectObject(dc_, old_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace vellumo
