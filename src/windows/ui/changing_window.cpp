#include "changing_window.h"

#include <vector>

#include "translucent.h"
#include "trunction.h"
#include "utf.h"

namespace vellumo {
namespace {

constexpr int kTitlePoints = 1575;  // hundredths of a point
constexpr int kNamePoints = 825;

RECT Scaled(int left, int top, int width, int height, int dpi) {
  const int x = MulDiv(left, dpi, USER_DEFAULT_SCREEN_DPI);
  const int y = MulDiv(top, dpi, USER_DEFAULT_SCREEN_DPI);
  return RECT{x, y, x + MulDiv(width, dpi, USER_DEFAULT_SCREEN_DPI),
              y + MulDiv(height, dpi, USER_DEFAULT_SCREEN_DPI)};
}

RECT PrimaryWorkArea() {
  RECT area{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) {
    area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  return area;
}

// The enabled top-level windows of this thread other than `except`, which a modal window
// disables while it is up.
std::vector<HWND> EnabledThreadWindows(HWND except) {
  struct Search {
    HWND except;
    std::vector<HWND> found;
  } search{except, {}};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM context) -> BOOL {
        auto* s = reinterpret_cast<Search*>(context);
        if (window != s->except && IsWindowEnabled(window)) s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

ChangingLayout LayoutChanging(int dpi) {
  ChangingLayout layout{};
  layout.client =
      SIZE{MulDiv(312, dpi, USER_DEFAULT_SCREEN_DPI), MulDiv(80, dpi, USER_DEFAULT_SCREEN_DPI)};
  layout.image = Scaled(9, 6, 67, 67, dpi);
  layout.title = Scaled(93, 21, 214, 31, dpi);
  layout.file_name = Scaled(108, 54, 196, 16, dpi);
  layout.icon_size = layout.image.right - layout.image.left;
  return layout;
}

POINT CentreIn(const RECT& area, SIZE size) {
  return POINT{area.left + (area.right - area.left - size.cx) / 2,
               area.top + (area.bottom - area.top - size.cy) / 2};
}

WinChangeScreenView::WinChangeScreenView(ChangeScreenEvents& events, WinEventLoop& loop)
    : events_(events), loop_(loop) {
  const int dpi = loop.ScreenDpi();
  layout_ = LayoutChanging(dpi);
  title_font_ = CreateArial(kTitlePoints, dpi, true);
  name_font_ = CreateArial(kNamePoints, dpi, false);
  icon_ = LoadProgramIcon(layout_.icon_size);

  CreateWindowArgs args;
  args.class_name = kChangingClass;
  args.title = L"Vellumo";
  // A thin border and no caption: no title bar, window buttons, icon or sizing frame.
  args.style = WS_POPUP | WS_BORDER;
  args.ex_style = WS_EX_TOPMOST;
  args.client_size = layout_.client;
  args.loop = &loop;
  RECT frame{0, 0, layout_.client.cx, layout_.client.cy};
  AdjustWindowRectEx(&frame, args.style, FALSE, args.ex_style);
  args.position =
      CentreIn(PrimaryWorkArea(), SIZE{frame.right - frame.left, frame.bottom - frame.top});

  window_.onPaint = [this](HDC dc, const RECT& client) { Paint(dc, client); };
  window_.onTimer = [this](UINT_PTR id) {
    if (id == kTriggerTimerId) events_.OnTimer();
  };
  window_.onChar = [this](wchar_t character) { events_.OnKeyPress(character); };
  window_.Create(args);
}

void WinChangeScreenView::Paint(HDC dc, const RECT& client) {
  FillRect(dc, &client, GetSysColorBrush(COLOR_3DFACE));
  if (icon_) {
    DrawIconEx(dc, layout_.image.left, layout_.image.top, icon_.get(), layout_.icon_size,
               layout_.icon_size, 0, nullptr, DI_NORMAL);
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  constexpr UINT kFormat = DT_LEFT | DT_TOP | DT_NOPREFIX | DT_SINGLELINE | DT_END_ELLIPSIS;
  {
    Selected font(dc, title_font_.get());
    RECT box = layout_.title;
    DrawTextW(dc, L"Vellumo", -1, &box, kFormat);
  }
  Selected font(dc, name_font_.get());
  RECT box = layout_.file_name;
  DrawTextW(dc, file_name_.c_str(), static_cast<int>(file_name_.size()), &box, kFormat);
}

void WinChangeScreenView::Show() {
  const HWND hwnd = window_.hwnd();
  if (!hwnd) return;
  ShowWindow(hwnd, SW_SHOW);
  // The notice takes the keyboard so that Esc reaches it.
  SetForegroundWindow(hwnd);
  SetFocus(hwnd);
  UpdateWindow(hwnd);
}

void WinChangeScreenView::ShowModal() {
  const HWND hwnd = window_.hwnd();
  if (!hwnd) return;
  const std::vector<HWND> disabled = EnabledThreadWindows(hwnd);
  for (HWND other : disabled) EnableWindow(other, FALSE);
  Show();
  loop_.RunUntilDestroyed(hwnd);
  for (HWND other : disabled) {
    if (IsWindow(other)) EnableWindow(other, TRUE);
  }
}

void WinChangeScreenView::SetFileName(const std::string& text) {
  file_name_ = Widen(text);
  if (!window_.hwnd()) return;
  InvalidateRect(window_.hwnd(), &layout_.file_name, TRUE);
}

std::string WinChangeScreenView::TruncatePath(const std::string& path, int width) {
  WindowDc dc(window_.hwnd());
  if (!dc.get()) return path;
  Selected font(dc.get(), name_font_.get());
  return vellumo::TruncatePath(path, width, dc.get());
}

void WinChangeScreenView::StartTimer(int milliseconds) {
  if (!window_.hwnd()) return;
  SetTimer(window_.hwnd(), kTriggerTimerId, static_cast<UINT>(milliseconds > 0 ? milliseconds : 0),
           nullptr);
}

void WinChangeScreenView::StopTimer() {
  if (window_.hwnd()) KillTimer(window_.hwnd(), kTriggerTimerId);
}

int WinChangeScreenView::SetTranslucency(int alpha) {
  if (alpha < 0 || alpha > 255) return 1;
  return Set_Translucency(window_.hwnd(), static_cast<int16_t>(alpha));
}

void WinChangeScreenView::Destroy() {
  window_.Destroy();
}

}  // namespace vellumo
