#include "window.h"

#include "controls.h"
#include "event_loop.h"

namespace vellumo {
namespace {

bool RegisterWindowClass(const wchar_t* class_name, HICON icon, WNDPROC procedure) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, class_name, &existing)) return true;

  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.hIcon = icon;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
  window_class.lpszClassName = class_name;
  return RegisterClassExW(&window_class) != 0;
}

}  // namespace

SIZE FrameSize(SIZE client, DWORD style, DWORD ex_style) {
  RECT frame{0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&frame, style, FALSE, ex_style);
  return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

bool Window::Create(const CreateWindowArgs& args) {
  if (hwnd_) return true;
  if (!RegisterWindowClass(args.class_name, args.icon, WndProc)) return false;

  int width = CW_USEDEFAULT, height = CW_USEDEFAULT;
  if (args.client_size.cx > 0 && args.client_size.cy > 0) {
    const SIZE frame = FrameSize(args.client_size, args.style, args.ex_style);
    width = frame.cx;
    height = frame.cy;
  }
  POINT position = args.position;
  if (args.centred) position = CentredOnScreen(SIZE{width, height});
  loop_ = args.loop;
  // WM_NCCREATE stores the object in the window and sets hwnd_.
  CreateWindowExW(args.ex_style, args.class_name, args.title.c_str(), args.style & ~WS_VISIBLE,
                  position.x, position.y, width, height, args.owner, nullptr,
                  GetModuleHandleW(nullptr), this);
  return hwnd_ != nullptr;
}

void Window::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void Window::RunModal(WinEventLoop& loop) {
  const HWND hwnd = hwnd_;
  if (!hwnd) return;
  const HWND owner = GetWindow(hwnd, GW_OWNER);
  const bool disable = owner && IsWindowEnabled(owner);
  if (disable) EnableWindow(owner, FALSE);
  ShowWindow(hwnd, SW_SHOW);
  SetForegroundWindow(hwnd);
  loop.RunUntilDestroyed(hwnd);
  if (!disable || !IsWindow(owner)) return;
  EnableWindow(owner, TRUE);
  SetActiveWindow(owner);
}

LRESULT CALLBACK Window::WndProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    const LRESULT created = DefWindowProcW(hwnd, message, wparam, lparam);
    if (!created || !self) return created;
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    if (self->loop_) self->loop_->WindowCreated();
    return created;
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    if (self->loop_) self->loop_->WindowDestroyed();
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
  return self->Handle(message, wparam, lparam);
}

LRESULT Window::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  const HWND hwnd = hwnd_;
  switch (message) {
    case WM_ERASEBKGND:
      // The paint callback fills the whole client area; erasing first would only flicker.
      if (onPaint) return 1;
      break;
    case WM_PAINT:
      if (onPaint) {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(hwnd, &paint);
        RECT client;
        GetClientRect(hwnd, &client);
        onPaint(dc, client);
        EndPaint(hwnd, &paint);
        return 0;
      }
      break;
    case WM_TIMER:
      if (onTimer) {
        onTimer(static_cast<UINT_PTR>(wparam));
        return 0;
      }
      break;
    case WM_CLOSE:
      if (onClose) {
        onClose();
        return 0;
      }
      break;
    case WM_CHAR:
      if (onChar) {
        onChar(static_cast<wchar_t>(wparam));
        return 0;
      }
      break;
    case WM_COMMAND:
      if (onCommand) {
        onCommand(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
        return 0;
      }
      break;
    case WM_NOTIFY:
      if (onNotify) return onNotify(*reinterpret_cast<const NMHDR*>(lparam));
      break;
    case WM_HSCROLL:
      if (onHScroll && lparam) {
        onHScroll(reinterpret_cast<HWND>(lparam), LOWORD(wparam));
        return 0;
      }
      break;
    default:
      break;
  }
  if (onMessage) {
    if (const auto answer = onMessage(message, wparam, lparam)) return *answer;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace vellumo
