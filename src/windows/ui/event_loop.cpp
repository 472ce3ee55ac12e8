#include "event_loop.h"

namespace vellumo {
namespace {

// True when the message is a key for a window that navigates like a dialog, and was handled as
// one. Only windows that ask for it: the change notice takes its own Esc.
bool IsDialogKey(MSG& message) {
  if (!message.hwnd) return false;
  const HWND root = GetAncestor(message.hwnd, GA_ROOT);
  if (!root || !(GetWindowLongPtrW(root, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)) return false;
  return IsDialogMessageW(root, &message) != FALSE;
}

// Dispatches one retrieved message. WM_QUIT is posted again so that the outermost loop sees it
// too, and the caller stops: false.
bool Dispatch(MSG& message) {
  if (message.message == WM_QUIT) {
    PostQuitMessage(static_cast<int>(message.wParam));
    return false;
  }
  if (IsDialogKey(message)) return true;
  TranslateMessage(&message);
  DispatchMessageW(&message);
  return true;
}

}  // namespace

void WinEventLoop::Yield() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (!Dispatch(message)) return;
  }
}

void WinEventLoop::Wait(std::chrono::milliseconds time) {
  const auto deadline = std::chrono::steady_clock::now() + time;
  for (;;) {
    Yield();
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left.count()), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
  }
}

void WinEventLoop::Run() {
  MSG message;
  // Checked after every message: windows go while one is handled.
  while (live_windows_ > 0 && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogKey(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void WinEventLoop::RunUntilDestroyed(HWND window) {
  MSG message;
  while (IsWindow(window)) {
    // GetMessageW returns 0 for WM_QUIT, which Dispatch hands on to the outer loop.
    if (GetMessageW(&message, nullptr, 0, 0) < 0 || !Dispatch(message)) return;
  }
}

void WinEventLoop::EndNow(int exit_code) {
  ExitProcess(static_cast<UINT>(exit_code));
}

int WinEventLoop::ScreenDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

void WinEventLoop::WindowDestroyed() {
  if (live_windows_ > 0) --live_windows_;
  // Wakes Run, or a nested RunUntilDestroyed, in case the window went while GetMessageW was
  // handling a message sent from elsewhere, which does not return to the loop. WM_QUIT would
  // outlive this loop and end the next modal one early.
  PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
}

}  // namespace vellumo
