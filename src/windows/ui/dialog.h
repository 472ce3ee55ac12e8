#pragma once

#include "win.h"

#include <optional>

namespace vellumo {

// What the program's dialog windows share.

// Keeps the keyboard focus on a control of a window that works like a dialog: when the window
// is activated the system focuses the window itself, where no key does anything. The focus goes
// on to the control that had it when the window was last deactivated, else to the first tab stop.
class DialogFocus {
 public:
  // For the window's onMessage: answers WM_SETFOCUS and watches WM_ACTIVATE.
  std::optional<LRESULT> Handle(HWND dialog, UINT message, WPARAM wparam);

 private:
  HWND last_ = nullptr;
};

// Hides focus rectangles and mnemonic underlines until the keyboard is used, as the system
// does for its own dialogs, when the last input came from the mouse.
void InitFocusCues(HWND dialog);

// Gives the title bar an icon resource's own small image rather than the class icon scaled
// down.
void SetSmallIcon(HWND window, int resource_id);

}  // namespace vellumo
