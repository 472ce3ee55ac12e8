#include "main_window.h"

#include "about_dialog.h"
#include "change/change_screen.h"
#include "controls.h"
#include "ratio_dialog.h"
#include "res/resource.h"
#include "shell_thumbnail.h"
#include "system_colours.h"
#include "trunction.h"
#include "ui/main_layout.h"
#include "ui/toolbar.h"
#include "utf.h"
#include "wic_preview.h"

namespace vellumo {
namespace {

namespace layout = main_layout;

RECT At(const Box& box, int dpi, POINT origin = {0, 0}) {
  return ScaledRect(origin.x + box.left, origin.y + box.top, box.width, box.height, dpi);
}

POINT Corner(const Box& frame) {
  return POINT{frame.left, frame.top};
}

Icon LoadButtonIcon(int resource, int size) {
  return Icon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource),
                                            IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

}  // namespace

WinMainView::WinMainView(MainEvents& events, WinEventLoop& loop, MainDialogs dialogs)
    : events_(events), loop_(loop), dialogs_(std::move(dialogs)), dpi_(loop.ScreenDpi()) {
  if (!dialogs_.browse_for_folder) dialogs_.browse_for_folder = vellumo::BrowseForFolder;
  if (!dialogs_.browse_for_picture) dialogs_.browse_for_picture = vellumo::BrowseForPicture;
  frame_font_ = CreateArial(layout::kFramePoints, dpi_, true);
  button_font_ = CreateArial(layout::kButtonPoints, dpi_, true);
  source_font_ = CreateArial(layout::kSourcePoints, dpi_, false);
  notice_font_ = CreateArial(layout::kLoadingPoints, dpi_, true);
  message_font_ = CreateMessageFont();
  path_font_ = CreateArial(kChangingFileNameCentipoints, dpi_, false);
  browse_icon_ = LoadButtonIcon(IDI_BROWSE, Scale(16, dpi_));
  settings_icon_ = LoadButtonIcon(IDI_DISPLAY_SETTINGS, Scale(16, dpi_));

  CreateWindowArgs args;
  args.class_name = kMainClass;
  args.title = Widen(main_text::kCaption);
  args.style = kStyle;
  args.ex_style = kDialogKeys;
  args.client_size = SIZE{Scale(layout::kClientWidth, dpi_), Scale(layout::kClientHeight, dpi_)};
  args.centred = true;
  args.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VELLUMO));
  args.loop = &loop;
  window_.onCommand = [this](int id, int code, HWND) { OnCommand(id, code); };
  window_.onNotify = [this](const NMHDR& header) -> LRESULT {
    if (tips_.OnNotify(header)) return 0;
    return toolbar_.OnNotify(header);
  };
  window_.onClose = [this] { events_.OnCancel(); };
  window_.onMessage = [this](UINT message, WPARAM wparam, LPARAM) -> std::optional<LRESULT> {
    // Sent with TRUE once the session really ends; the process is ended after the answer.
    if (message == WM_ENDSESSION) {
      if (wparam) events_.OnEndSession();
      return 0;
    }
    return focus_.Handle(window_.hwnd(), message, wparam);
  };
  if (!window_.Create(args)) return;
  SendMessageW(window_.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(message_font_.get()), FALSE);
  CreateControls();
  CreateTips();
  InitFocusCues(window_.hwnd());
}

// The full path of a row, and of the previewed picture: the rows show only names.
void WinMainView::CreateTips() {
  tips_.Create(window_.hwnd(), [this](HWND control) -> std::string {
    if (control == preview_.hwnd()) return events_.OnPreviewTip();
    if (control == images_.hwnd() && images_.hot_row() >= 0)
      return events_.OnImageTip(images_.hot_row());
    return {};
  });
  tips_.Add(images_.hwnd());
  tips_.Add(preview_.hwnd());
}

// Created in tab order; a control that lies over another comes before it, so that it stays on
// top.
void WinMainView::CreateControls() {
  const HWND hwnd = window_.hwnd();
  toolbar_.on_startup_menu = [this](int entry) { events_.OnStartupMenu(entry); };
  toolbar_.Create(hwnd, At(layout::kToolbar, dpi_), dpi_, message_font_.get(),
                  [this](int entry) { events_.OnSourceMenu(entry); });
  CreateFrames();
  CreatePreview();

  const POINT display = Corner(layout::kDisplayFrame);
  const HWND list = CreateChild(
      hwnd, {L"COMBOBOX", L"Display mode", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP, 0,
             At(layout::kDisplayList, dpi_, display), main_id::kDisplayList, button_font_.get()});
  for (const char* row : main_text::kDisplayModes)
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(row).c_str()));
  const HWND settings =
      CreateChild(hwnd, {L"BUTTON", L"Automatic display mode settings", BS_ICON | WS_TABSTOP, 0,
                         At(layout::kDisplaySettings, dpi_, display), main_id::kDisplaySettings});
  SendMessageW(settings, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(settings_icon_.get()));
  CreateChild(hwnd, {L"BUTTON", Widen(main_text::kDisplayMode), BS_GROUPBOX | WS_CLIPSIBLINGS, 0,
                     At(layout::kDisplayFrame, dpi_), main_id::kDisplayFrame, frame_font_.get()});

  CreateChild(hwnd, {L"BUTTON", L"&" + Widen(main_text::kNext), WS_TABSTOP | WS_DISABLED, 0,
                     At(layout::kNext, dpi_), main_id::kNext, button_font_.get()});
  CreateChild(hwnd, {L"BUTTON", L"&" + Widen(main_text::kSave), WS_TABSTOP, 0,
                     At(layout::kSave, dpi_), main_id::kSave, button_font_.get()});
  CreateChild(hwnd,
              {L"BUTTON", Widen(main_text::kCancel), 0, 0, At(layout::kCancel, dpi_), IDCANCEL});
}

void WinMainView::CreateFrames() {
  const HWND hwnd = window_.hwnd();
  const POINT location = Corner(layout::kLocationFrame);
  CreateChild(hwnd,
              {L"EDIT", L"", ES_AUTOHSCROLL | ES_READONLY | WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE,
               At(layout::kSourceText, dpi_, location), main_id::kSourceText, source_font_.get()});
  const HWND browse = CreateChild(hwnd, {L"BUTTON", L"Browse for the source", BS_ICON | WS_TABSTOP,
                                         0, At(layout::kBrowse, dpi_, location), main_id::kBrowse});
  SendMessageW(browse, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(browse_icon_.get()));
  CreateChild(hwnd, {L"BUTTON", Widen(main_text::kLocation), BS_GROUPBOX | WS_CLIPSIBLINGS, 0,
                     At(layout::kLocationFrame, dpi_), main_id::kLocationFrame, frame_font_.get()});

  images_.onEnter = [this](int row) { events_.OnImageDoubleClicked(row); };
  images_.onHotRowChanged = [this] { tips_.Refresh(); };
  images_.Create(
      hwnd,
      {L"LISTBOX", L"Images",
       LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE,
       At(layout::kImageList, dpi_, Corner(layout::kImagesFrame)), main_id::kImageList});
  CreateChild(hwnd, {L"BUTTON", L"Images (0)", BS_GROUPBOX | WS_CLIPSIBLINGS, 0,
                     At(layout::kImagesFrame, dpi_), main_id::kImagesFrame, frame_font_.get()});
}

void WinMainView::CreatePreview() {
  const HWND hwnd = window_.hwnd();
  const POINT frame = Corner(layout::kPreviewFrame);
  const HWND check =
      CreateChild(hwnd, {L"BUTTON", L"", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 0,
                         At(layout::kPreviewCheck, dpi_, frame), main_id::kPreviewCheck});
  SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
  const uint32_t desktop = Get_System_Colour(COLOR_BACKGROUND);
  preview_.Create(hwnd, At(layout::kPreviewBorder, dpi_, frame), main_id::kPreview,
                  notice_font_.get(), static_cast<COLORREF>(desktop));
  CreateChild(hwnd, {L"BUTTON", Widen(kPreviewCaption), BS_GROUPBOX | WS_CLIPSIBLINGS, 0,
                     At(layout::kPreviewFrame, dpi_), main_id::kPreviewFrame, frame_font_.get()});
}

void WinMainView::OnCommand(int id, int code) {
  if (const int index = MainToolbar::IndexOf(id)) {
    events_.OnToolbarClick(index, toolbar_.StateAfterCommand(index));
    return;
  }
  const HWND control = Control(id);
  switch (id) {
    case main_id::kBrowse:
      events_.OnBrowse();
      return;
    case main_id::kImageList:
      if (code == LBN_SELCHANGE)
        events_.OnImageSelected(static_cast<int>(SendMessageW(control, LB_GETCURSEL, 0, 0)));
      if (code == LBN_DBLCLK)
        events_.OnImageDoubleClicked(static_cast<int>(SendMessageW(control, LB_GETCURSEL, 0, 0)));
      return;
    case main_id::kPreviewCheck:
      if (code == BN_CLICKED)
        events_.OnPreviewToggled(SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED);
      return;
    case main_id::kDisplayList:
      if (code == CBN_SELCHANGE)
        events_.OnDisplayModeChosen(static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0)));
      return;
    case main_id::kDisplaySettings:
      events_.OnDisplaySettings();
      return;
    case main_id::kNext:
      events_.OnNext();
      return;
    case main_id::kSave:
      events_.OnSave();
      return;
    case IDCANCEL:
      events_.OnCancel();
      return;
    default:
      return;
  }
}

void WinMainView::Show() {
  const HWND hwnd = window_.hwnd();
  if (!hwnd) return;
  ShowWindow(hwnd, SW_SHOW);
  SetForegroundWindow(hwnd);
  SetFocus(Control(main_id::kImageList));
  UpdateWindow(hwnd);
}

void WinMainView::SetEnabled(bool enabled) {
  if (window_.hwnd()) EnableWindow(window_.hwnd(), enabled ? TRUE : FALSE);
}

std::string WinMainView::TruncatePath(const std::string& path, int width) {
  return vellumo::TruncatePath(path, width, window_.hwnd(), path_font_.get());
}

void WinMainView::SetButtonPressed(int index, bool pressed) {
  toolbar_.SetPressed(index, pressed);
}

void WinMainView::SetSourceImage(int image) {
  toolbar_.SetImage(vellumo::toolbar::kSource, image);
}

void WinMainView::SetStartupMenu(const StartupMenuState& state) {
  toolbar_.SetStartupMenu(state);
}

void WinMainView::SetSourceText(const std::string& text) {
  SetWindowTextW(Control(main_id::kSourceText), Widen(text).c_str());
}

// All rows at once, without a redraw for each: a folder tree can hold a hundred thousand.
// A hundred thousand rows go straight to the list box's own procedure: through the window's
// subclasses (the Enter key's, the tool tips') each message costs some 25 microseconds more
// under Wine, which made filling take three times as long as building the list.
void WinMainView::SetImages(const std::vector<std::string>& names) {
  const HWND list = Control(main_id::kImageList);
  if (!list) return;
  const auto list_box = reinterpret_cast<WNDPROC>(GetClassLongPtrW(list, GCLP_WNDPROC));
  const auto send = [list, list_box](UINT message, WPARAM wparam, LPARAM lparam) {
    return CallWindowProcW(list_box, list, message, wparam, lparam);
  };
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  send(LB_RESETCONTENT, 0, 0);
  size_t characters = 0;
  for (const auto& name : names) characters += name.size() + 1;
  send(LB_INITSTORAGE, names.size(), static_cast<LPARAM>(characters * sizeof(wchar_t)));
  for (const auto& name : names)
    send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(name).c_str()));
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void WinMainView::SetImagesCaption(const std::string& caption) {
  SetWindowTextW(Control(main_id::kImagesFrame), Widen(caption).c_str());
}

void WinMainView::SetNextEnabled(bool enabled) {
  EnableWindow(Control(main_id::kNext), enabled ? TRUE : FALSE);
}

void WinMainView::SetDisplayRow(int row) {
  SendMessageW(Control(main_id::kDisplayList), CB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

void WinMainView::SetPreviewCaption(const std::string& caption) {
  SetWindowTextW(Control(main_id::kPreviewFrame), Widen(caption).c_str());
}

void WinMainView::SetLoadingText(const std::string& text) {
  preview_.SetNotice(Widen(text));
}

void WinMainView::ShowLoading(bool visible) {
  preview_.ShowNotice(visible);
  // Painted now: the picture is loaded right after, before the loop runs again.
  if (preview_.hwnd()) UpdateWindow(preview_.hwnd());
}

void WinMainView::ShowPicture(bool visible) {
  preview_.ShowPicture(visible);
}

std::optional<PixelSize> WinMainView::LoadPicture(const std::string& path) {
  const double scale = dpi_ / 96.0;
  // The shell's thumbnail first, where it keeps one large enough; else our own decoder.
  const auto pixels = DecodePreview(
      path, [scale](PixelSize full) { return PreviewDecodeSize(full, scale); },
      [&path](PixelSize full, PixelSize wanted) { return ShellThumbnail(path, wanted, full); });
  if (!pixels) return std::nullopt;
  preview_.SetPicture(*pixels);
  return pixels->full;
}

void WinMainView::ClearPicture() {
  preview_.ClearPicture();
}

// From window pixels at 96 dpi to the canvas's own pixels; at least one pixel each way.
void WinMainView::PlacePicture(const PreviewRect& rect) {
  preview_.PlacePicture(ToRect(main_layout::PreviewDeviceRect(rect, dpi_)));
}

void WinMainView::ShowMessage(const std::string& text, const std::string& title) {
  MessageBoxW(window_.hwnd(), Widen(text).c_str(), Widen(title).c_str(), MB_OK);
}

void WinMainView::ShowAbout() {
  RunAboutBox(window_.hwnd(), loop_);
}

std::optional<AutoThresholds> WinMainView::EditThresholds(AutoThresholds current) {
  return RunRatioDialog(window_.hwnd(), loop_, current);
}

std::string WinMainView::BrowseForFolder(const std::string& prompt, const std::string& start) {
  return dialogs_.browse_for_folder(window_.hwnd(), prompt, start);
}

std::string WinMainView::BrowseForPicture(const std::string& prompt, const std::string& start) {
  return dialogs_.browse_for_picture(window_.hwnd(), prompt, start);
}

}  // namespace vellumo
