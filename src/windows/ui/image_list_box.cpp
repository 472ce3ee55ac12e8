#include "image_list_box.h"

#include <commctrl.h>

namespace vellumo {
namespace {

bool IsEnter(const MSG* key) {
  return key && (key->message == WM_KEYDOWN || key->message == WM_CHAR) && key->wParam == VK_RETURN;
}

// The row at a point of the list's client area; -1 below the last row.
int RowAt(HWND list, LPARAM point) {
  const LRESULT found = SendMessageW(list, LB_ITEMFROMPOINT, 0, point);
  return HIWORD(found) ? -1 : static_cast<int>(LOWORD(found));
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
    case WM_MOUSEMOVE:
      list->Hover(RowAt(hwnd, lparam));
      break;
    case WM_MOUSELEAVE:
      list->Hover(-1);
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

void ImageListBox::Hover(int row) {
  if (row == hot_row_) return;
  hot_row_ = row;
  if (row >= 0) {
    // Told when the mouse leaves, so that the next row entered counts as a change.
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd_, 0};
    TrackMouseEvent(&track);
  }
  if (onHotRowChanged) onHotRowChanged();
}

}  // namespace vellumo
