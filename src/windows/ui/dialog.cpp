#include "dialog.h"

namespace vellumo {

std::optional<LRESULT> DialogFocus::Handle(HWND dialog, UINT message, WPARAM wparam) {
  if (message == WM_ACTIVATE && LOWORD(wparam) == WA_INACTIVE) {
    const HWND focus = GetFocus();
    if (focus && IsChild(dialog, focus)) last_ = focus;
    return std::nullopt;  // the default handling still runs
  }
  if (message != WM_SETFOCUS) return std::nullopt;
  const HWND target = last_ && IsWindow(last_) ? last_ : GetNextDlgTabItem(dialog, nullptr, FALSE);
  if (target) SetFocus(target);
  return 0;
}

void InitFocusCues(HWND dialog) {
  SendMessageW(dialog, WM_CHANGEUISTATE,
               MAKEWPARAM(UIS_INITIALIZE, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
}

void SetSmallIcon(HWND window, int resource_id) {
  const int size = GetSystemMetrics(SM_CXSMICON);
  // A shared icon stays loaded with the module: nothing to destroy.
  auto* icon = static_cast<HICON>(LoadImageW(
      GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource_id), IMAGE_ICON, size, size, LR_SHARED));
  if (icon) SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

}  // namespace vellumo
