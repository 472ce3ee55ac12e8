#pragma once

#include "win.h"

#include <string>

#include "gdi.h"

namespace vellumo {

struct PreviewPixels;

// The preview area of the settings window, drawn as one control in the stacking order of its
// parts, top to bottom: the border, the loading notice, the picture, and the background in the
// desktop colour. Positions are client pixels of the canvas.
class PreviewCanvas {
 public:
  PreviewCanvas() = default;
  ~PreviewCanvas();
  PreviewCanvas(const PreviewCanvas&) = delete;
  PreviewCanvas& operator=(const PreviewCanvas&) = delete;

  bool Create(HWND parent, const RECT& rect, int id, HFONT notice_font, COLORREF background);
  HWND hwnd() const { return hwnd_; }

  void SetNotice(const std::wstring& text);
  void ShowNotice(bool visible);
  void ShowPicture(bool visible);
  // Takes the pixels as the picture; an empty picture clears it.
  void SetPicture(const PreviewPixels& pixels);
  void ClearPicture();
  void PlacePicture(const RECT& rect);

  const std::wstring& notice() const { return notice_; }
  bool notice_visible() const { return notice_visible_; }
  bool picture_visible() const { return picture_visible_ && picture_; }
  const RECT& picture_rect() const { return picture_rect_; }

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  void Paint(HDC dc);
  void Redraw();

  HWND hwnd_ = nullptr;
  HFONT notice_font_ = nullptr;
  COLORREF background_ = 0;
  std::wstring notice_;
  bool notice_visible_ = false;
  bool picture_visible_ = false;
  HBITMAP picture_ = nullptr;
  SIZE picture_size_{};
  RECT picture_rect_{};
};

}  // namespace vellumo
