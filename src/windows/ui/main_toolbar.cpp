#include "main_toolbar.h"

#include "res/resource.h"
#include "utf.h"

namespace vellumo {
namespace {

int CommandId(int index) {
  return kToolbarIdBase + index;
}

BYTE ButtonStyle(ButtonKind kind) {
  switch (kind) {
    case ButtonKind::kSeparator:
      return BTNS_SEP;
    case ButtonKind::kDropDown:
      return BTNS_DROPDOWN;
    case ButtonKind::kCheck:
      return BTNS_CHECK;
    case ButtonKind::kCheckDropDown:
      return BTNS_CHECK | BTNS_DROPDOWN;
    case ButtonKind::kPlain:
      break;
  }
  return BTNS_BUTTON;
}

int StripResource(int size) {
  if (size >= 64) return IDB_TOOLBAR_64;
  if (size >= 48) return IDB_TOOLBAR_48;
  return IDB_TOOLBAR_32;
}

// The nine pictures, from the strip drawn at `size`, with their own alpha.
HIMAGELIST LoadImages(int size) {
  const HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32, kToolbarImages, 0);
  if (!list) return nullptr;
  auto* strip = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                                MAKEINTRESOURCEW(StripResource(size)), IMAGE_BITMAP,
                                                0, 0, LR_CREATEDIBSECTION));
  if (strip) {
    ImageList_Add(list, strip, nullptr);
    DeleteObject(strip);
  }
  return list;
}

}  // namespace

int ToolbarImageSize(int dpi) {
  if (dpi >= 168) return 64;
  if (dpi >= 132) return 48;
  return 32;
}

MainToolbar::~MainToolbar() {
  if (images_) ImageList_Destroy(images_);
}

bool MainToolbar::Create(HWND parent, const RECT& rect, int dpi, HFONT font,
                         std::function<void(int)> on_menu) {
  on_menu_ = std::move(on_menu);
  // A tab stop: the arrow keys then move between the buttons and Space presses one.
  constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                           CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN;
  hwnd_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"Toolbar", kStyle, rect.left, rect.top,
                          rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return false;
  SendMessageW(hwnd_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(hwnd_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  if (font) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  images_ = LoadImages(ToolbarImageSize(dpi));
  SendMessageW(hwnd_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));

  captions_.clear();
  for (const auto& button : kToolbarButtons) captions_.push_back(Widen(button.caption));
  std::vector<TBBUTTON> buttons;
  for (size_t i = 0; i < kToolbarButtons.size(); ++i) {
    const ToolbarButton& spec = kToolbarButtons[i];
    TBBUTTON button{};
    button.idCommand = CommandId(spec.index);
    button.fsStyle = ButtonStyle(spec.kind);
    if (spec.kind != ButtonKind::kSeparator) {
      button.iBitmap = spec.image - 1;
      button.iString = reinterpret_cast<INT_PTR>(captions_[i].c_str());
      button.fsState = TBSTATE_ENABLED;
    }
    if (!spec.visible) button.fsState |= TBSTATE_HIDDEN;
    buttons.push_back(button);
  }
  SendMessageW(hwnd_, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  SendMessageW(hwnd_, TB_AUTOSIZE, 0, 0);
  SetWindowSubclass(hwnd_, KeyProc, 1, reinterpret_cast<DWORD_PTR>(this));
  return true;
}

// The toolbar's own keyboard handling differs between systems (Wine's presses nothing); this
// gives it one behaviour everywhere.
LRESULT CALLBACK MainToolbar::KeyProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                      UINT_PTR, DWORD_PTR self) {
  auto* toolbar = reinterpret_cast<MainToolbar*>(self);
  switch (message) {
    case WM_GETDLGCODE: {
      const auto* key = reinterpret_cast<const MSG*>(lparam);
      const bool enter = key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
      return DLGC_WANTARROWS | (enter ? DLGC_WANTMESSAGE : 0);
    }
    case WM_KEYDOWN:
      if (toolbar->OnKey(wparam)) return 0;
      break;
    // The toolbar owns the menus it opens.
    case WM_MENUSELECT:
      toolbar->OnMenuSelect(reinterpret_cast<HMENU>(lparam), LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_SETFOCUS:
      // Where the keyboard is: the first button until the arrows move on.
      if (SendMessageW(hwnd, TB_GETHOTITEM, 0, 0) < 0) SendMessageW(hwnd, TB_SETHOTITEM, 1, 0);
      break;
    case WM_KILLFOCUS:
      SendMessageW(hwnd, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, KeyProc, 1);
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, message, wparam, lparam);
}

bool MainToolbar::OnKey(WPARAM key) {
  const int hot = static_cast<int>(SendMessageW(hwnd_, TB_GETHOTITEM, 0, 0));
  TBBUTTON button{};
  if (hot < 0 || !SendMessageW(hwnd_, TB_GETBUTTON, hot, reinterpret_cast<LPARAM>(&button)))
    return false;
  const int index = IndexOf(button.idCommand);
  if ((key == VK_DOWN || key == VK_F4) && OpenMenu(index)) return true;
  if (key != VK_SPACE && key != VK_RETURN) return false;
  // Only the command: whoever handles it turns a check button (StateAfterCommand).
  SendMessageW(GetParent(hwnd_), WM_COMMAND, button.idCommand, reinterpret_cast<LPARAM>(hwnd_));
  return true;
}

bool MainToolbar::OpenMenu(int index) {
  if (index != toolbar::kSource && index != toolbar::kStartup) return false;
  RECT button{};
  SendMessageW(hwnd_, TB_GETRECT, CommandId(index), reinterpret_cast<LPARAM>(&button));
  const bool source = index == toolbar::kSource;
  const int entry = source ? ShowSourceMenu(button) : ShowStartupMenu(button);
  const auto& chosen = source ? on_menu_ : on_startup_menu;
  if (entry > 0 && chosen) chosen(entry);
  return true;
}

bool MainToolbar::IsCheck(int index) {
  for (const ToolbarButton& button : kToolbarButtons)
    if (button.index == index) return vellumo::IsCheck(button.kind);
  return false;
}

int MainToolbar::IndexOf(int command_id) {
  const int index = command_id - kToolbarIdBase;
  return index >= 1 && index <= static_cast<int>(kToolbarButtons.size()) ? index : 0;
}

bool MainToolbar::IsPressed(int index) const {
  return SendMessageW(hwnd_, TB_ISBUTTONCHECKED, CommandId(index), 0) != 0;
}

void MainToolbar::SetPressed(int index, bool pressed) {
  SendMessageW(hwnd_, TB_CHECKBUTTON, CommandId(index), MAKELPARAM(pressed ? TRUE : FALSE, 0));
  if (IndexOf(CommandId(index))) known_[index] = pressed;
}

bool MainToolbar::StateAfterCommand(int index) {
  if (!IndexOf(CommandId(index))) return false;
  bool pressed = IsPressed(index);
  if (IsCheck(index) && pressed == known_[index]) {
    pressed = !pressed;
    SetPressed(index, pressed);
  }
  known_[index] = pressed;
  return pressed;
}

void MainToolbar::SetImage(int index, int image) {
  SendMessageW(hwnd_, TB_CHANGEBITMAP, CommandId(index), MAKELPARAM(image - 1, 0));
}

int MainToolbar::Image(int index) const {
  return static_cast<int>(SendMessageW(hwnd_, TB_GETBITMAP, CommandId(index), 0)) + 1;
}

LRESULT MainToolbar::OnNotify(const NMHDR& header) {
  if (header.hwndFrom != hwnd_ || header.code != TBN_DROPDOWN) return 0;
  const auto& drop = reinterpret_cast<const NMTOOLBARW&>(header);
  return OpenMenu(IndexOf(drop.iItem)) ? TBDDRET_DEFAULT : TBDDRET_NODEFAULT;
}

// The menu below the button; the entry chosen (1 to 3), or 0.
int MainToolbar::ShowSourceMenu(const RECT& button) {
  const HMENU menu = CreatePopupMenu();
  if (!menu) return 0;
  for (size_t i = 0; i < kSourceMenu.size(); ++i) {
    const std::wstring text = Widen(kSourceMenu[i].text);
    AppendMenuW(menu, MF_STRING, kSourceMenuIdBase + i + 1, text.c_str());
  }
  POINT corner{button.left, button.bottom};
  ClientToScreen(hwnd_, &corner);
  const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, corner.x,
                                    corner.y, 0, GetParent(hwnd_), nullptr);
  DestroyMenu(menu);
  return chosen > kSourceMenuIdBase ? chosen - kSourceMenuIdBase : 0;
}

// The menu below the button, the current choice with a radio mark; the entry chosen (1 to 5),
// or 0. The toolbar owns it, so that it sees which entry is selected.
int MainToolbar::ShowStartupMenu(const RECT& button) {
  const HMENU menu = CreatePopupMenu();
  if (!menu) return 0;
  for (size_t i = 0; i < kStartupMenu.size(); ++i) {
    const bool off = kStartupMenu[i].minutes > 0 && !startup_menu_.intervals_enabled;
    const std::wstring text = Widen(kStartupMenu[i].text);
    AppendMenuW(menu, MF_STRING | (off ? MF_GRAYED : 0), kStartupMenuIdBase + i + 1, text.c_str());
  }
  if (startup_menu_.checked > 0) {
    const UINT id = kStartupMenuIdBase + static_cast<UINT>(startup_menu_.checked);
    CheckMenuRadioItem(menu, kStartupMenuIdBase + 1, kStartupMenuIdBase + kStartupMenu.size(), id,
                       MF_BYCOMMAND);
  }
  menu_tip_text_ = startup_menu_.intervals_enabled ? L"" : Widen(startup_menu_.reason);
  POINT corner{button.left, button.bottom};
  ClientToScreen(hwnd_, &corner);
  const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, corner.x,
                                    corner.y, 0, hwnd_, nullptr);
  DestroyMenu(menu);
  if (menu_tip_) SendMessageW(menu_tip_, TTM_TRACKACTIVATE, FALSE, 0);
  return chosen > kStartupMenuIdBase ? chosen - kStartupMenuIdBase : 0;
}

void MainToolbar::OnMenuSelect(HMENU menu, UINT id, UINT flags) {
  const bool reason_wanted = !menu_tip_text_.empty() && (flags & (MF_GRAYED | MF_DISABLED)) &&
                             id > kStartupMenuIdBase &&
                             id <= kStartupMenuIdBase + kStartupMenu.size();
  if (reason_wanted) {
    ShowMenuTip(menu, id);
  } else if (menu_tip_) {
    SendMessageW(menu_tip_, TTM_TRACKACTIVATE, FALSE, 0);
  }
}

// A menu entry has no tool tip of its own: a tracking tip shows beside the entry instead.
void MainToolbar::ShowMenuTip(HMENU menu, UINT id) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  tool.hwnd = hwnd_;
  tool.uId = 1;
  tool.lpszText = menu_tip_text_.data();
  if (!menu_tip_) {
    menu_tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    SendMessageW(menu_tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  SendMessageW(menu_tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  RECT entry{};
  GetMenuItemRect(hwnd_, menu, id - kStartupMenuIdBase - 1, &entry);
  SendMessageW(menu_tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(entry.right + 4, entry.top));
  SendMessageW(menu_tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace vellumo
