#pragma once

#include "win.h"

#include <functional>
#include <optional>
#include <string>

namespace vellumo {

class WinEventLoop;

// What a top-level window is made of. Sizes are device pixels.
struct CreateWindowArgs {
  const wchar_t* class_name = L"VellumoWindow";
  std::wstring title;
  DWORD style = WS_OVERLAPPEDWINDOW;
  DWORD ex_style = 0;
  POINT position{CW_USEDEFAULT, CW_USEDEFAULT};  // of the whole window
  bool centred = false;                          // on the screen's work area instead
  SIZE client_size{0, 0};                        // 0 x 0: the system's default size
  HICON icon = nullptr;                          // the class icon
  HWND owner = nullptr;                          // a dialog's owner: stays above it
  WinEventLoop* loop = nullptr;                  // counts the window as one of the program's
};

// Windows with this extended style get dialog keys from the message loop: Tab and the arrows
// move the focus, Enter presses the default button, Esc the one with the id IDCANCEL, and
// Alt+letter a control's mnemonic.
inline constexpr DWORD kDialogKeys = WS_EX_CONTROLPARENT;

// The size of a whole window of `style` around a client area of `client`.
SIZE FrameSize(SIZE client, DWORD style, DWORD ex_style);

// A top-level window whose messages are handed to the onX callbacks. The object must outlive the
// system window or destroy it; after a callback returns, the window procedure does not touch the
// object again, so a callback may destroy the window it was called for.
class Window {
 public:
  std::function<void(HDC dc, const RECT& client)> onPaint;
  std::function<void(UINT_PTR id)> onTimer;
  std::function<void(wchar_t character)> onChar;
  // When set, a request to close (Alt+F4, the taskbar) goes here instead of destroying the
  // window.
  std::function<void()> onClose;
  // WM_COMMAND from a control or menu: its id, the notification code, the control.
  std::function<void(int id, int code, HWND control)> onCommand;
  std::function<LRESULT(const NMHDR& header)> onNotify;
  // WM_HSCROLL from a trackbar.
  std::function<void(HWND control, int code)> onHScroll;
  // Any other message the window wants to answer itself; nothing leaves it to the default.
  std::function<std::optional<LRESULT>(UINT message, WPARAM wparam, LPARAM lparam)> onMessage;

  Window() = default;
  ~Window() { Destroy(); }
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Registers the class on first use and creates the window, hidden. False on failure.
  bool Create(const CreateWindowArgs& args);
  void Destroy();
  HWND hwnd() const { return hwnd_; }

  // Shows the window modal to its owner: the owner is disabled until this window is destroyed,
  // then enabled and activated again before the call returns.
  void RunModal(WinEventLoop& loop);

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);

  HWND hwnd_ = nullptr;
  WinEventLoop* loop_ = nullptr;
};

}  // namespace vellumo
