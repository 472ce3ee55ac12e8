#include "about_dialog.h"

#include <shellapi.h>

#include "controls.h"
#include "dialog.h"
#include "gdi.h"
#include "res/resource.h"
#include "ui/about.h"
#include "ui/about_layout.h"
#include "utf.h"
#include "window.h"

namespace vellumo {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

COLORREF LinkColour() {
  const Colour& c = about_layout::kLinkColour;
  return RGB(c.red, c.green, c.blue);
}

void DrawLabel(HDC dc, const Font& font, const char* text, RECT box, UINT format) {
  Selected selected(dc, font.get());
  const std::wstring wide = Widen(text);
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &box,
            format | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
}

class AboutBox {
 public:
  AboutBox(HWND owner, WinEventLoop& loop, const LinkOpener& open_link);
  void Run();

 private:
  void CreateControls();
  void CreateLabels();
  void Paint(HDC dc, const RECT& client);
  void DrawLink(const DRAWITEMSTRUCT& item);
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void OnCommand(int id, int code);

  WinEventLoop& loop_;
  const LinkOpener& open_link_;
  AboutRects layout_;
  Font product_font_;
  Font version_font_;
  Font credit_font_;
  Icon icon_;
  HWND link_ = nullptr;
  DialogFocus focus_;
  Window window_;  // last: destroyed first, while the fonts and icon are still there
};

AboutBox::AboutBox(HWND owner, WinEventLoop& loop, const LinkOpener& open_link)
    : loop_(loop), open_link_(open_link) {
  const int dpi = loop.ScreenDpi();
  layout_ = LayoutAbout(dpi);
  using namespace about_layout;
  product_font_ = CreateFace(Widen(kProductFace).c_str(), kProductPoints, dpi, true);
  version_font_ = CreateArial(kVersionPoints, dpi, true);
  credit_font_ = CreateArial(kCreditPoints, dpi, true);
  // An image of the drawn size or larger, scaled down: a 32-pixel one stretched would blur.
  icon_ = LoadProgramIcon(layout_.image.width());

  CreateWindowArgs args;
  args.class_name = kAboutClass;
  args.title = Widen(about_text::kCaption);
  args.style = kStyle;
  args.ex_style = kDialogKeys;
  args.client_size = SIZE{layout_.client.width(), layout_.client.height()};
  args.centred = true;
  args.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VELLUMO));
  args.owner = owner;
  args.loop = &loop;

  window_.onPaint = [this](HDC dc, const RECT& client) { Paint(dc, client); };
  window_.onCommand = [this](int id, int code, HWND) { OnCommand(id, code); };
  window_.onMessage = [this](UINT message, WPARAM wparam, LPARAM lparam) {
    return OnMessage(message, wparam, lparam);
  };
  if (!window_.Create(args)) return;
  SetSmallIcon(window_.hwnd(), IDI_VELLUMO);
  CreateControls();
  InitFocusCues(window_.hwnd());
}

// The texts are static controls, drawn as the system draws them, so that a screen reader finds
// them as the window's children.
void AboutBox::CreateLabels() {
  const HWND hwnd = window_.hwnd();
  CreateChild(hwnd,
              {L"STATIC", Widen(about_text::kProduct), SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, 0,
               ToRect(layout_.product), 0, product_font_.get()});
  CreateChild(hwnd, {L"STATIC", Widen(about_text::kVersion), SS_RIGHT | SS_NOPREFIX, 0,
                     ToRect(layout_.version), 0, version_font_.get()});
  CreateChild(hwnd, {L"STATIC", Widen(about_text::kCredit), SS_CENTER | SS_NOPREFIX, 0,
                     ToRect(layout_.credit), 0, credit_font_.get()});
}

void AboutBox::CreateControls() {
  CreateLabels();
  const HWND hwnd = window_.hwnd();
  // The link is a button drawn as text: it takes the focus, draws a focus rectangle, and Space
  // presses it; a screen reader names it by its text.
  link_ = CreateChild(hwnd, {L"BUTTON", Widen(about_text::kLinkText), BS_OWNERDRAW | WS_TABSTOP, 0,
                             ToRect(layout_.link), kLinkId, credit_font_.get()});
  // Not a tab stop: the focus never goes where nobody sees it.
  CreateChild(hwnd, {L"BUTTON", Widen(about_text::kCancel), BS_PUSHBUTTON, 0,
                     ToRect(layout_.cancel), IDCANCEL, credit_font_.get()});
}

void AboutBox::Paint(HDC dc, const RECT& client) {
  FillRect(dc, &client, GetSysColorBrush(COLOR_3DFACE));
  const DeviceRect& image = layout_.image;
  if (icon_) {
    DrawIconEx(dc, image.left, image.top, icon_.get(), image.width(), image.height(), 0, nullptr,
               DI_NORMAL);
  }
}

void AboutBox::DrawLink(const DRAWITEMSTRUCT& item) {
  const HDC dc = item.hDC;
  RECT box = item.rcItem;
  FillRect(dc, &box, GetSysColorBrush(COLOR_3DFACE));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, LinkColour());
  DrawLabel(dc, credit_font_, about_text::kLinkText, box, DT_CENTER | DT_VCENTER);
  // The focus rectangle shows once the keyboard is in use, as in any dialog.
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(dc, &box);
}

std::optional<LRESULT> AboutBox::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CTLCOLORSTATIC) {
    const auto dc = reinterpret_cast<HDC>(wparam);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_MENUTEXT));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_3DFACE));
  }
  if (message == WM_DRAWITEM) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
    if (item.hwndItem != link_) return std::nullopt;
    DrawLink(item);
    return TRUE;
  }
  // A child asks its parent first which cursor to show.
  if (message == WM_SETCURSOR && reinterpret_cast<HWND>(wparam) == link_ &&
      LOWORD(lparam) == HTCLIENT) {
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return TRUE;
  }
  return focus_.Handle(window_.hwnd(), message, wparam);
}

void AboutBox::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  // Enter arrives as IDOK: the link is the one control that takes the focus.
  if (id == kLinkId || id == IDOK) open_link_(Widen(about_text::kMakerAddress));
  if (id == IDCANCEL) window_.Destroy();
}

void AboutBox::Run() {
  if (window_.hwnd()) window_.RunModal(loop_);
}

}  // namespace

void OpenInShell(const std::wstring& address) {
  // Nothing to do when it fails: no browser is not the About box's problem.
  ShellExecuteW(nullptr, nullptr, address.c_str(), nullptr, L"C:\\", SW_SHOWNORMAL);
}

void RunAboutBox(HWND owner, WinEventLoop& loop, const LinkOpener& open_link) {
  AboutBox box(owner, loop, open_link);
  box.Run();
}

}  // namespace vellumo
