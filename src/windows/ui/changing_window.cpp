#include "changing_window.h"

#include <vector>

#include "change/change_screen.h"
#include "controls.h"
#include "translucent.h"
#include "trunction.h"
#include "ui/product.h"
#include "utf.h"

namespace vellumo {
namespace {

RECT Placed(const TwipsRect& twips, int dpi) {
  return ToRect(ToDevice(twips, dpi));
}

RECT PrimaryScreen() {
  return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// The visible, enabled top-level windows of this thread other than `except`: those a modal
// window disables while it is up. Hidden ones take no input anyway.
std::vector<HWND> EnabledThreadWindows(HWND except) {
  struct Search {
    HWND except;
    std::vector<HWND> found;
  } search{except, {}};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM context) -> BOOL {
        auto* s = reinterpret_cast<Search*>(context);
        if (window != s->except && IsWindowVisible(window) && IsWindowEnabled(window))
          s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

ChangingLayout LayoutChanging(int dpi) {
  ChangingLayout layout{};
  layout.client =
      SIZE{TwipsToPixels(kChangingClient.width, dpi), TwipsToPixels(kChangingClient.height, dpi)};
  layout.image = Placed(kChangingImage, dpi);
  layout.title = Placed(kChangingTitle, dpi);
  layout.file_name = Placed(kChangingFileName, dpi);
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
  title_font_ = CreateArial(kChangingTitleCentipoints, dpi, true);
  name_font_ = CreateArial(kChangingFileNameCentipoints, dpi, false);
  icon_ = LoadProgramIcon(layout_.icon_size);

  CreateWindowArgs args;
  args.class_name = kChangingClass;
  args.title = Widen(kProductName);
  // A thin border and no caption: no title bar, window buttons, icon or sizing frame.
  args.style = WS_POPUP | WS_BORDER;
  // A tool window has no taskbar button and no Alt+Tab entry, so nothing offers to close it.
  args.ex_style = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  args.client_size = layout_.client;
  args.loop = &loop;
  args.position = CentreIn(PrimaryScreen(), FrameSize(args.client_size, args.style, args.ex_style));

  window_.onPaint = [this](HDC dc, const RECT& client) { Paint(dc, client); };
  window_.onTimer = [this](UINT_PTR id) {
    if (id == kTriggerTimerId) events_.OnTimer();
  };
  window_.onChar = [this](wchar_t character) { events_.OnKeyPress(character); };
  // The notice closes itself once the change is done; Alt+F4 must not take it away from under
  // the change screen logic.
  window_.onClose = [] {};
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
  constexpr UINT kFormat = DT_LEFT | DT_TOP | DT_NOPREFIX | DT_SINGLELINE;
  {
    Selected font(dc, title_font_.get());
    RECT box = layout_.title;
    const std::wstring title = Widen(kProductName);
    DrawTextW(dc, title.c_str(), -1, &box, kFormat | DT_END_ELLIPSIS);
  }
  // The file name comes already shortened to the label's width: drawn as it is.
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
  disabled_ = EnabledThreadWindows(hwnd);
  for (HWND other : disabled_) EnableWindow(other, FALSE);
  Show();
  loop_.RunUntilDestroyed(hwnd);
  EnableOthers();
}

void WinChangeScreenView::EnableOthers() {
  for (HWND other : disabled_) {
    if (IsWindow(other)) EnableWindow(other, TRUE);
  }
  disabled_.clear();
}

void WinChangeScreenView::SetFileName(const std::string& text) {
  file_name_ = Widen(text);
  if (!window_.hwnd()) return;
  InvalidateRect(window_.hwnd(), &layout_.file_name, TRUE);
}

std::string WinChangeScreenView::TruncatePath(const std::string& path, int width) {
  return vellumo::TruncatePath(path, width, window_.hwnd(), name_font_.get());
}

void WinChangeScreenView::StartTimer(int milliseconds) {
  if (!window_.hwnd()) return;
  const UINT delay = static_cast<UINT>(milliseconds > 0 ? milliseconds : 0);
  // Without a timer a notice, hidden in a background run, would wait for ever: tick at once.
  if (!SetTimer(window_.hwnd(), kTriggerTimerId, delay, nullptr))
    PostMessageW(window_.hwnd(), WM_TIMER, kTriggerTimerId, 0);
}

void WinChangeScreenView::StopTimer() {
  if (window_.hwnd()) KillTimer(window_.hwnd(), kTriggerTimerId);
}

int WinChangeScreenView::SetTranslucency(int alpha) {
  return Set_Translucency(window_.hwnd(), alpha);
}

void WinChangeScreenView::Destroy() {
  // Enabled again before the notice goes, so that the system activates one of ours rather than
  // another program's window.
  EnableOthers();
  window_.Destroy();
}

}  // namespace vellumo
