#include "path_tips.h"

#include <commctrl.h>

#include "utf.h"

namespace vellumo {

bool PathTips::Create(HWND owner, TextFor text_for) {
  owner_ = owner;
  text_for_ = std::move(text_for);
  hwnd_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                          WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | TTS_NOANIMATE | TTS_NOFADE,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                          nullptr, GetModuleHandleW(nullptr), nullptr);
  return hwnd_ != nullptr;
}

void PathTips::Add(HWND control) {
  if (!hwnd_ || !control) return;
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  // The tips watch the control's mouse messages themselves.
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = owner_;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  SendMessageW(hwnd_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void PathTips::Refresh() {
  if (hwnd_) SendMessageW(hwnd_, TTM_POP, 0, 0);
}

bool PathTips::OnNotify(const NMHDR& header) {
  if (!hwnd_ || header.hwndFrom != hwnd_ || header.code != TTN_GETDISPINFOW) return false;
  auto& request = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
  text_ = Widen(text_for_ ? text_for_(reinterpret_cast<HWND>(header.idFrom)) : std::string());
  request.lpszText = text_.data();
  request.hinst = nullptr;
  return true;
}

}  // namespace vellumo
