#pragma once

#include "win.h"

#include <functional>

#include "controls.h"

namespace vellumo {

// lstImages: a list box that takes Enter, which in a window with dialog keys would otherwise go
// to the default button, and follows the row under the mouse for its tool tip.
class ImageListBox {
 public:
  // Enter with a row selected: that row.
  std::function<void(int row)> onEnter;
  // The mouse moved onto another row, or off the rows.
  std::function<void()> onHotRowChanged;

  ImageListBox() = default;
  ImageListBox(const ImageListBox&) = delete;
  ImageListBox& operator=(const ImageListBox&) = delete;

  // `args` are those of the list box; LBS_NOTIFY is for the caller to give.
  HWND Create(HWND parent, const ChildArgs& args);
  HWND hwnd() const { return hwnd_; }
  // The row under the mouse, -1 for none.
  int hot_row() const { return hot_row_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                               DWORD_PTR self);
  bool OnKey(UINT message, WPARAM key);
  void Hover(int row);

  HWND hwnd_ = nullptr;
  int hot_row_ = -1;
};

}  // namespace vellumo
