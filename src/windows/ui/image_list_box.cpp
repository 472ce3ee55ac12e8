#include "image_list_box.h"

#include <commctrl.h>

namespace vellumo {
namespace {

bool IsEnter(const MSG* key) {
  return key && (key->message == WM_KEYDOWN || key->message == WM_CHAR) && key->wParam == VK_RETURN;
}

}  // namespace

HWND ImageListBox::Create(HWND parent, const ChildArgs& args) {
  hwnd_ = CreateChild(parent, args);
  if (hwnd_) SetWindowSubclass(hwnd_, Proc, 1, reinterpret_cast<DWORD_PTR>(this));
  return hwnd_;
}

LRESULT CALLBACK ImageListBox::Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                    DWORD_PTR self) {
  auto* list = reinterpret_cast<ImageListBox*>(self);
  switch (message) {
    case WM_GETDLGCODE:
      // Asked with the key the dialog keys would take: Enter is the list's own.
      if (IsEnter(reinterpret_cast<const MSG*>(lparam)))
        return DefSubclassProc(hwnd, message, wparam, lparam) | DLGC_WANTMESSAGE;
      break;
    case WM_KEYDOWN:
    case WM_CHAR:
      if (list->OnKey(message, wparam)) return 0;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, Proc, 1);
      list->hwnd_ = nullptr;
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, message, wparam, lparam);
}

bool ImageListBox::OnKey(UINT message, WPARAM key) {
  if (key != VK_RETURN) return false;
  // The character that follows the key is swallowed too: the list box would look it up.
  if (message == WM_CHAR) return true;
  const int row = static_cast<int>(SendMessageW(hwnd_, LB_GETCURSEL, 0, 0));
  if (row >= 0 && onEnter) onEnter(row);
  return true;
}

}  // namespace vellumo
