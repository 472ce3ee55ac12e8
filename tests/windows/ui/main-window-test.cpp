// The settings window's wiring: controls where the layout has them, and the user's actions,
// sent as real messages, arriving as the events of the window's logic.
#include "main_window.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <objbase.h>

#include <string>
#include <vector>

#include "controls.h"
#include "recorded_events.h"
#include "test_folder.h"
#include "ui/main_layout.h"
#include "ui/toolbar.h"
#include "utf.h"

namespace vellumo {
namespace {

RECT ClientRectOf(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool Same(const RECT& a, const RECT& b) {
  return EqualRect(&a, &b) != FALSE;
}

// A click as the mouse makes it, at a point of the control's client area.
void Click(HWND control, POINT at, bool twice = false) {
  const LPARAM where = MAKELPARAM(at.x, at.y);
  SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, where);
  SendMessageW(control, WM_LBUTTONUP, 0, where);
  if (!twice) return;
  SendMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, where);
  SendMessageW(control, WM_LBUTTONUP, 0, where);
}

POINT CentreOfButton(HWND toolbar, int index) {
  RECT rect{};
  SendMessageW(toolbar, TB_GETRECT, kToolbarIdBase + index, reinterpret_cast<LPARAM>(&rect));
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

class MainWindowTest : public testing::Test {
 protected:
  // The preview decodes through COM, as the program's entry point has it set up.
  static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  static void TearDownTestSuite() { CoUninitialize(); }

  HWND Control(int id) { return view_.Control(id); }
  std::wstring Text(int id) { return WindowText(Control(id)); }
  RECT At(const Box& box, POINT origin = {0, 0}) {
    return ScaledRect(origin.x + box.left, origin.y + box.top, box.width, box.height, dpi_);
  }

  RecordedEvents events_;
  WinEventLoop loop_;
  int dpi_ = loop_.ScreenDpi();
  WinMainView view_{events_, loop_};
};

TEST_F(MainWindowTest, ControlsSitWhereTheLayoutHasThem) {
  namespace layout = main_layout;
  ASSERT_NE(view_.hwnd(), nullptr);
  EXPECT_EQ(WindowText(view_.hwnd()), L"Vellumo - v0.3b - by Corvane");
  RECT client;
  GetClientRect(view_.hwnd(), &client);
  EXPECT_EQ(client.right, Scale(374, dpi_));
  EXPECT_EQ(client.bottom, Scale(366, dpi_));

  EXPECT_TRUE(Same(ClientRectOf(Control(main_id::kImageList)),
                   At(layout::kImageList, {layout::kImagesFrame.left, layout::kImagesFrame.top})));
  EXPECT_TRUE(Same(ClientRectOf(Control(main_id::kSave)), At(layout::kSave)));
  EXPECT_GE(ClientRectOf(Control(IDCANCEL)).top, client.bottom) << "Cancel is never seen";
  EXPECT_EQ(Text(main_id::kNext), L"&Next Picture");
  EXPECT_FALSE(IsWindowEnabled(Control(main_id::kNext)));
  EXPECT_EQ(Text(main_id::kPreviewFrame), L"       Preview");
  EXPECT_EQ(SendMessageW(Control(main_id::kPreviewCheck), BM_GETCHECK, 0, 0), BST_CHECKED);

  const HWND modes = Control(main_id::kDisplayList);
  ASSERT_EQ(SendMessageW(modes, CB_GETCOUNT, 0, 0), 4);
  wchar_t row[16] = {};
  SendMessageW(modes, CB_GETLBTEXT, 3, reinterpret_cast<LPARAM>(row));
  EXPECT_STREQ(row, L"Tile");

  const HWND toolbar = view_.toolbar().hwnd();
  EXPECT_EQ(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), 10);
  EXPECT_TRUE(SendMessageW(toolbar, TB_ISBUTTONHIDDEN, kToolbarIdBase + toolbar::kMakeFile, 0));
  EXPECT_TRUE(SendMessageW(toolbar, TB_ISBUTTONENABLED, kToolbarIdBase + toolbar::kMakeFile, 0));
}

TEST_F(MainWindowTest, ShowsWhatItsLogicTellsIt) {
  view_.SetButtonPressed(toolbar::kRandom, true);
  view_.SetSourceImage(3);
  view_.SetImages({"a", "b", "c"});
  view_.SetImagesCaption("Images (3)");
  view_.SetNextEnabled(true);
  view_.SetDisplayRow(2);
  EXPECT_TRUE(view_.toolbar().IsPressed(toolbar::kRandom));
  EXPECT_EQ(view_.toolbar().Image(toolbar::kSource), 3);
  EXPECT_EQ(SendMessageW(Control(main_id::kImageList), LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(Text(main_id::kImagesFrame), L"Images (3)");
  EXPECT_TRUE(IsWindowEnabled(Control(main_id::kNext)));
  EXPECT_EQ(SendMessageW(Control(main_id::kDisplayList), CB_GETCURSEL, 0, 0), 2);
}

TEST_F(MainWindowTest, ClicksAndKeysReachTheLogic) {
  view_.SetImages({"a", "b"});
  view_.SetNextEnabled(true);
  view_.Show();
  const HWND toolbar = view_.toolbar().hwnd();
  Click(toolbar, CentreOfButton(toolbar, toolbar::kRandom));
  Click(toolbar, CentreOfButton(toolbar, toolbar::kAbout));
  const HWND list = Control(main_id::kImageList);
  const int row_height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  Click(list, POINT{5, row_height + row_height / 2}, true);
  Click(Control(main_id::kPreviewCheck), POINT{4, 4});
  Click(Control(main_id::kNext), POINT{5, 5});
  Click(Control(main_id::kBrowse), POINT{5, 5});
  EXPECT_EQ(events_.lines,
            (std::vector<std::string>{"toolbar 4 pressed", "toolbar 10 released", "select 1",
                                      "double-click 1", "preview off", "next", "browse"}));

  events_.lines.clear();
  SendMessageW(view_.hwnd(), WM_CLOSE, 0, 0);
  // A session end that another program called off (FALSE) is not one.
  SendMessageW(view_.hwnd(), WM_ENDSESSION, FALSE, 0);
  SendMessageW(view_.hwnd(), WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(events_.lines, (std::vector<std::string>{"cancel", "end session"}));
  // Esc from the focused control goes through the message loop's dialog keys to "Cancel".
  events_.lines.clear();
  SetFocus(list);
  PostMessageW(list, WM_KEYDOWN, VK_ESCAPE, 0);
  loop_.Yield();
  EXPECT_FALSE(events_.lines.empty());
  EXPECT_EQ(events_.lines.front(), "cancel");
}

// Enter is the list's own: it applies the selected row as a double click does. Elsewhere it is
// not (here it presses nothing, as before).
TEST_F(MainWindowTest, EnterOnARowAppliesIt) {
  view_.SetImages({"a", "b"});
  view_.Show();
  const HWND list = Control(main_id::kImageList);
  SetFocus(list);
  SendMessageW(list, LB_SETCURSEL, 1, 0);
  PostMessageW(list, WM_KEYDOWN, VK_RETURN, 0);
  loop_.Yield();
  EXPECT_EQ(events_.lines, std::vector<std::string>{"double-click 1"});
  SetFocus(Control(main_id::kDisplayList));
  PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
  loop_.Yield();
  EXPECT_EQ(events_.lines, std::vector<std::string>{"double-click 1"});
}

// What a tip over `control` would show now, asked of the tips as they ask when one shows.
std::wstring TipText(HWND tips, HWND owner, HWND control) {
  wchar_t text[512] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = owner;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = text;
  SendMessageW(tips, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
  return tool.lpszText ? tool.lpszText : L"";
}

// The rows show names; the tips give the logic's full path of the row under the mouse and of
// the preview, or nothing where it has none.
TEST_F(MainWindowTest, TipsShowWhatTheLogicGivesWhenTheyShow) {
  view_.SetImages({"a", "b"});
  view_.Show();
  const HWND list = Control(main_id::kImageList);
  const int row_height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(5, row_height + row_height / 2));
  EXPECT_EQ(TipText(view_.tips(), view_.hwnd(), list), L"row 1");
  SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(5, row_height / 2));
  EXPECT_EQ(TipText(view_.tips(), view_.hwnd(), list), L"row 0");
  SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(5, row_height * 5));
  EXPECT_EQ(TipText(view_.tips(), view_.hwnd(), list), L"") << "below the rows";

  const HWND preview = view_.preview().hwnd();
  EXPECT_EQ(TipText(view_.tips(), view_.hwnd(), preview), L"");
  events_.preview_tip = "C:\\Pictures\\shown.jpg";
  EXPECT_EQ(TipText(view_.tips(), view_.hwnd(), preview), L"C:\\Pictures\\shown.jpg");
}

// Whatever sends a check button's command, the button turns and the logic is told the state it
// shows: a click turns it first; a bare command (as an accessibility tool's action may send
// it) is turned here.
TEST_F(MainWindowTest, CheckButtonsReportTheStateTheyShow) {
  view_.Show();
  const HWND toolbar = view_.toolbar().hwnd();
  const auto command = [&](int index) {
    SendMessageW(view_.hwnd(), WM_COMMAND, kToolbarIdBase + index,
                 reinterpret_cast<LPARAM>(toolbar));
  };
  view_.SetButtonPressed(toolbar::kStartup, true);
  command(toolbar::kStartup);
  Click(toolbar, CentreOfButton(toolbar, toolbar::kStartup));
  command(toolbar::kRandom);
  command(toolbar::kAbout);
  EXPECT_EQ(events_.lines, (std::vector<std::string>{"toolbar 9 released", "toolbar 9 pressed",
                                                     "toolbar 4 pressed", "toolbar 10 released"}));
  EXPECT_TRUE(view_.toolbar().IsPressed(toolbar::kStartup));
  EXPECT_TRUE(view_.toolbar().IsPressed(toolbar::kRandom));
  EXPECT_FALSE(view_.toolbar().IsPressed(toolbar::kAbout));
}

TEST_F(MainWindowTest, SourceArrowOpensTheMenu) {
  view_.Show();
  const HWND toolbar = view_.toolbar().hwnd();
  RECT button{};
  SendMessageW(toolbar, TB_GETRECT, kToolbarIdBase + toolbar::kSource,
               reinterpret_cast<LPARAM>(&button));
  // Inside the menu's own loop: the second entry is chosen with the keyboard.
  SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    const HWND menu = FindWindowW(L"#32768", nullptr);
    for (const WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) PostMessageW(menu, WM_KEYDOWN, key, 0);
  });
  Click(toolbar, POINT{button.right - 3, (button.top + button.bottom) / 2});
  loop_.Yield();
  EXPECT_EQ(events_.lines, std::vector<std::string>{"menu 2"});
}

// What the open menu shows, read from inside its own loop: each entry's text and state.
struct ShownMenu {
  std::vector<std::wstring> texts;
  std::vector<UINT> states;
  std::wstring tip;  // the text of a tip shown beside the menu, if any
};
ShownMenu shown_menu;

void ReadOpenMenu() {
  const HWND window = FindWindowW(L"#32768", nullptr);
  const auto menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
  shown_menu = {};
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[64] = L"";
    GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    shown_menu.texts.emplace_back(text);
    shown_menu.states.push_back(GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION));
  }
}

BOOL CALLBACK FindShownTip(HWND window, LPARAM) {
  wchar_t name[32] = L"";
  GetClassNameW(window, name, 32);
  if (!IsWindowVisible(window) || std::wstring(name) != TOOLTIPS_CLASSW) return TRUE;
  wchar_t text[128] = L"";
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.lpszText = text;
  if (SendMessageW(window, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)))
    shown_menu.tip = text;
  return TRUE;
}

TEST_F(MainWindowTest, StartupArrowOpensItsMenuWithTheChoiceMarked) {
  view_.Show();
  view_.SetStartupMenu({3, true, ""});
  const HWND toolbar = view_.toolbar().hwnd();
  RECT button{};
  SendMessageW(toolbar, TB_GETRECT, kToolbarIdBase + toolbar::kStartup,
               reinterpret_cast<LPARAM>(&button));
  const POINT arrow{button.right - 3, (button.top + button.bottom) / 2};
  SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    ReadOpenMenu();
    const HWND menu = FindWindowW(L"#32768", nullptr);
    for (const WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) PostMessageW(menu, WM_KEYDOWN, key, 0);
  });
  Click(toolbar, arrow);
  loop_.Yield();
  EXPECT_EQ(events_.lines, std::vector<std::string>{"startup menu 2"});
  EXPECT_FALSE(view_.toolbar().IsPressed(toolbar::kStartup)) << "the arrow is not the face";
  ASSERT_EQ(shown_menu.texts.size(), kStartupMenu.size());
  EXPECT_EQ(shown_menu.texts[4], L"Every Day");
  for (size_t i = 0; i < kStartupMenu.size(); ++i) {
    EXPECT_EQ((shown_menu.states[i] & MF_CHECKED) != 0, i == 2) << i;
    EXPECT_EQ(shown_menu.states[i] & MF_GRAYED, 0u) << i;
  }
}

// Where the system has no scheduler the intervals are off, and the entry the keyboard reaches
// says why beside the menu.
TEST_F(MainWindowTest, StartupMenuTellsWhyTheIntervalsAreOff) {
  view_.Show();
  view_.SetStartupMenu({1, false, "The Task Scheduler cannot be reached."});
  const HWND toolbar = view_.toolbar().hwnd();
  RECT button{};
  SendMessageW(toolbar, TB_GETRECT, kToolbarIdBase + toolbar::kStartup,
               reinterpret_cast<LPARAM>(&button));
  SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    ReadOpenMenu();
    const HWND menu = FindWindowW(L"#32768", nullptr);
    for (const WPARAM key : {VK_DOWN, VK_DOWN}) PostMessageW(menu, WM_KEYDOWN, key, 0);
    SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      EnumThreadWindows(GetCurrentThreadId(), FindShownTip, 0);
      PostMessageW(FindWindowW(L"#32768", nullptr), WM_KEYDOWN, VK_ESCAPE, 0);
    });
  });
  Click(toolbar, POINT{button.right - 3, (button.top + button.bottom) / 2});
  loop_.Yield();
  EXPECT_TRUE(events_.lines.empty());
  ASSERT_EQ(shown_menu.states.size(), kStartupMenu.size());
  EXPECT_NE(shown_menu.states[0] & MF_CHECKED, 0u);
  EXPECT_EQ(shown_menu.states[0] & MF_GRAYED, 0u);
  for (size_t i = 1; i < kStartupMenu.size(); ++i) EXPECT_NE(shown_menu.states[i] & MF_GRAYED, 0u);
  EXPECT_EQ(shown_menu.tip, L"The Task Scheduler cannot be reached.");
}

// The system's dialogs are modal: found and answered from inside their own loop, with the
// button `command`, once they show (the window exists before the dialog is ready). One the
// answer left open is cancelled, so that a failing test does not hang.
void AnswerDialogWith(WPARAM command) {
  static WPARAM answer;
  static bool answered;
  answer = command;
  answered = false;
  SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
    const HWND dialog = FindWindowW(L"#32770", nullptr);
    if (!dialog && answered) KillTimer(nullptr, id);
    if (!dialog || !IsWindowVisible(dialog)) return;
    PostMessageW(dialog, WM_COMMAND, answered ? IDCANCEL : answer, 0);
    answered = true;
  });
}

TEST_F(MainWindowTest, CancelledFolderDialogGivesNothing) {
  view_.Show();
  AnswerDialogWith(IDCANCEL);
  EXPECT_EQ(vellumo::BrowseForFolder(view_.hwnd(), "Select Folder...", ""), "");
}

TEST_F(MainWindowTest, CancelledPictureDialogGivesNothing) {
  view_.Show();
  AnswerDialogWith(IDCANCEL);
  EXPECT_EQ(vellumo::BrowseForPicture(view_.hwnd(), "Select Picture...", ""), "");
}

// Opened where the source is: OK at once gives it back.
TEST_F(MainWindowTest, DialogsOpenAtTheCurrentSource) {
  test::TestFolder folder("source");
  const std::string picture = folder.AddFile("picture.jpg");
  view_.Show();
  AnswerDialogWith(IDOK);
  EXPECT_EQ(vellumo::BrowseForFolder(view_.hwnd(), "Select Folder...", folder.path() + "\\"),
            folder.path());
  AnswerDialogWith(IDOK);
  EXPECT_EQ(vellumo::BrowseForPicture(view_.hwnd(), "Select Picture...", picture), picture);
}

TEST_F(MainWindowTest, PreviewLoadsAtTheShownSizeAndReportsTheFullSize) {
  EXPECT_FALSE(view_.LoadPicture("C:\\no\\such\\picture.jpg").has_value());
  // The program's own icon file is no picture either; a generated bitmap is.
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring path = std::wstring(temp) + L"vellumo-preview.bmp";
  {
    BITMAPINFOHEADER header{sizeof(header), 600, 900, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const DWORD row = 600 * 3;
    BITMAPFILEHEADER file{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(header)};
    file.bfSize = file.bfOffBits + row * 900;
    std::string bytes(reinterpret_cast<char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<char*>(&header), sizeof(header));
    bytes.append(row * 900, '\x80');
    const HANDLE out =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(out);
  }
  const auto size = view_.LoadPicture(Narrow(path));
  DeleteFileW(path.c_str());
  ASSERT_TRUE(size.has_value());
  EXPECT_EQ(size->width, 600);
  EXPECT_EQ(size->height, 900);
  view_.PlacePicture(FitPreview(*size, main_layout::kPreviewArea));
  view_.ShowPicture(true);
  EXPECT_TRUE(view_.preview().picture_visible());
  EXPECT_EQ(view_.preview().picture_rect().bottom - view_.preview().picture_rect().top,
            Scale(127, dpi_));
}

TEST_F(MainWindowTest, ToolbarWorksFromTheKeyboard) {
  view_.Show();
  const HWND toolbar = view_.toolbar().hwnd();
  SetFocus(toolbar);
  SendMessageW(toolbar, TB_SETHOTITEM, toolbar::kRepeats - 1, 0);
  for (const WPARAM key : {VK_SPACE, VK_RETURN}) PostMessageW(toolbar, WM_KEYDOWN, key, 0);
  loop_.Yield();
  ASSERT_GE(events_.lines.size(), 2u);
  EXPECT_EQ(events_.lines[0], "toolbar 5 pressed");
  EXPECT_EQ(events_.lines[1], "toolbar 5 released");
}

}  // namespace
}  // namespace vellumo
