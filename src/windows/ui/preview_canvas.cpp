#include "preview_canvas.h"

#include <cstring>

#include "ui/main_layout.h"
#include "wic_preview.h"

namespace vellumo {
namespace {

constexpr wchar_t kCanvasClass[] = L"VellumoPreview";

bool RegisterCanvasClass(WNDPROC procedure) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, kCanvasClass, &existing)) return true;
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.style = CS_HREDRAW | CS_VREDRAW;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.lpszClassName = kCanvasClass;
  return RegisterClassExW(&window_class) != 0;
}

// A top-down 32-bit DIB section holding the pixels.
HBITMAP MakeBitmap(const PreviewPixels& pixels) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = pixels.width;
  info.bmiHeader.biHeight = -pixels.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap && bits) std::memcpy(bits, pixels.bgra.data(), pixels.bgra.size());
  return bitmap;
}

}  // namespace

PreviewCanvas::~PreviewCanvas() {
  ClearPicture();
}

bool PreviewCanvas::Create(HWND parent, const RECT& rect, int id, HFONT notice_font,
                           COLORREF background) {
  if (!RegisterCanvasClass(WndProc)) return false;
  notice_font_ = notice_font;
  background_ = background;
  hwnd_ = CreateWindowExW(0, kCanvasClass, L"Preview", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                          rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                          parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleW(nullptr), this);
  return hwnd_ != nullptr;
}

LRESULT CALLBACK PreviewCanvas::WndProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<PreviewCanvas*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<PreviewCanvas*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the paint fills everything
    case WM_PAINT:
      if (self) {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(hwnd, &paint);
        self->Paint(dc);
        EndPaint(hwnd, &paint);
        return 0;
      }
      break;
    case WM_NCDESTROY:
      if (self) self->hwnd_ = nullptr;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

void PreviewCanvas::Paint(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  // Drawn off screen first, so a picture does not flash over the background.
  const HDC memory = CreateCompatibleDC(dc);
  const HBITMAP canvas = CreateCompatibleBitmap(dc, client.right, client.bottom);
  {
    Selected target(memory, canvas);
    const HBRUSH background = CreateSolidBrush(background_);
    FillRect(memory, &client, background);
    DeleteObject(background);
    if (picture_visible_ && picture_) {
      const HDC source = CreateCompatibleDC(dc);
      Selected bitmap(source, picture_);
      SetStretchBltMode(memory, HALFTONE);
      SetBrushOrgEx(memory, 0, 0, nullptr);
      const RECT& r = picture_rect_;
      StretchBlt(memory, r.left, r.top, r.right - r.left, r.bottom - r.top, source, 0, 0,
                 picture_size_.cx, picture_size_.cy, SRCCOPY);
      DeleteDC(source);
    }
    if (notice_visible_) {
      RECT inside = client;
      InflateRect(&inside, -main_layout::kPreviewBorderPixels, -main_layout::kPreviewBorderPixels);
      FillRect(memory, &inside, GetSysColorBrush(COLOR_3DFACE));
      Selected font(memory, notice_font_);
      SetBkMode(memory, TRANSPARENT);
      SetTextColor(memory, GetSysColor(COLOR_BTNTEXT));
      DrawTextW(memory, notice_.c_str(), static_cast<int>(notice_.size()), &inside,
                DT_CENTER | DT_NOPREFIX | DT_WORDBREAK);
    }
    FrameRect(memory, &client, GetSysColorBrush(COLOR_3DSHADOW));
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  }
  DeleteObject(canvas);
  DeleteDC(memory);
}

void PreviewCanvas::Redraw() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void PreviewCanvas::SetNotice(const std::wstring& text) {
  notice_ = text;
  if (hwnd_) SetWindowTextW(hwnd_, text.c_str());  // what a screen reader says of the area
  Redraw();
}

void PreviewCanvas::ShowNotice(bool visible) {
  notice_visible_ = visible;
  Redraw();
}

void PreviewCanvas::ShowPicture(bool visible) {
  picture_visible_ = visible;
  Redraw();
}

void PreviewCanvas::SetPicture(const PreviewPixels& pixels) {
  ClearPicture();
  if (pixels.width <= 0 || pixels.height <= 0) return;
  picture_ = MakeBitmap(pixels);
  picture_size_ = SIZE{pixels.width, pixels.height};
  Redraw();
}

void PreviewCanvas::ClearPicture() {
  if (picture_) DeleteObject(picture_);
  picture_ = nullptr;
  Redraw();
}

void PreviewCanvas::PlacePicture(const RECT& rect) {
  picture_rect_ = rect;
  Redraw();
}

}  // namespace vellumo
