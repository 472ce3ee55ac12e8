#pragma once

#include "win.h"

#include <functional>
#include <string>

namespace vellumo {

// Tool tips over some of a window's controls, whose text is asked for at the moment a tip
// shows (an empty text shows none). The tips go with their owner window.
class PathTips {
 public:
  // The text for the control under the mouse.
  using TextFor = std::function<std::string(HWND control)>;

  bool Create(HWND owner, TextFor text_for);
  HWND hwnd() const { return hwnd_; }
  void Add(HWND control);
  // What the control under the mouse would show changed: the tip shown goes, and the next one
  // asks again.
  void Refresh();

  // For the owner's WM_NOTIFY: answers the tips' requests for their text.
  bool OnNotify(const NMHDR& header);

 private:
  HWND hwnd_ = nullptr;
  HWND owner_ = nullptr;
  TextFor text_for_;
  std::wstring text_;  // the text handed out last, which the tip reads after the answer
};

}  // namespace vellumo
