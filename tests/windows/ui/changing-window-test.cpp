#include "changing_window.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "change/change_screen.h"
#include "main_window.h"
#include "utf.h"
#include "win_views.h"

namespace vellumo {
namespace {

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool Inside(const RECT& part, SIZE client) {
  return part.left >= 0 && part.top >= 0 && part.right <= client.cx && part.bottom <= client.cy;
}

TEST(ChangingLayoutTest, PartsSitWhereTheNoticeHasThemAt96Dpi) {
  const ChangingLayout at96 = LayoutChanging(96);
  EXPECT_EQ(at96.client.cx, 312);
  EXPECT_EQ(at96.client.cy, 80);
  EXPECT_TRUE(SameRect(at96.image, RECT{9, 6, 76, 73}));
  EXPECT_TRUE(SameRect(at96.title, RECT{93, 21, 307, 52}));
  EXPECT_TRUE(SameRect(at96.file_name, RECT{108, 54, 304, 70}));
  EXPECT_EQ(at96.icon_size, 67);
}

TEST(ChangingLayoutTest, FileNameLabelIsAsWideAsThePathIsShortenedForAtAnyDpi) {
  for (const int dpi : {96, 120, 144, 168, 192}) {
    const ChangingLayout layout = LayoutChanging(dpi);
    EXPECT_EQ(layout.file_name.right - layout.file_name.left,
              TwipsToPixels(kFileNameLabelTwips, dpi))
        << dpi << " dpi";
    EXPECT_TRUE(Inside(layout.file_name, layout.client)) << dpi << " dpi";
    EXPECT_TRUE(Inside(layout.title, layout.client)) << dpi << " dpi";
    EXPECT_TRUE(Inside(layout.image, layout.client)) << dpi << " dpi";
    EXPECT_GE(layout.file_name.bottom - layout.file_name.top,
              -FontHeight(kChangingFileNameCentipoints, dpi))
        << dpi << " dpi: the text is taller than its label";
  }
  // 1440 / 168 leaves 8 whole twips per pixel: everything is measured with the same 8.
  const ChangingLayout at168 = LayoutChanging(168);
  EXPECT_EQ(at168.client.cx, 4680 / 8);
  EXPECT_TRUE(SameRect(at168.file_name, RECT{202, 101, 202 + 367, 101 + 30}));
}

TEST(ProgramIconTest, TakesTheSmallestImageAtLeastAsLargeAsDrawn) {
  EXPECT_EQ(IconImageSize(16), 16);
  EXPECT_EQ(IconImageSize(67), 128) << "96 dpi";
  EXPECT_EQ(IconImageSize(100), 128) << "144 dpi";
  EXPECT_EQ(IconImageSize(143), 256) << "192 dpi";
  EXPECT_EQ(IconImageSize(400), 256);
}

// Records what the window reports; a test can act inside the tick.
struct RecordingEvents : ChangeScreenEvents {
  void OnTimer() override {
    ++ticks;
    if (on_tick) on_tick();
  }
  void OnKeyPress(int char_code) override { keys.push_back(char_code); }

  int ticks = 0;
  std::vector<int> keys;
  std::function<void()> on_tick;
};

class ChangeScreenViewTest : public testing::Test {
 protected:
  void SetUp() override {
    view_ = std::make_unique<WinChangeScreenView>(events_, loop_);
    ASSERT_NE(view_->hwnd(), nullptr);
  }

  // Pumps messages until `done` or about five seconds have passed.
  void PumpUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 500 && !done(); ++i) {
      loop_.Yield();
      Sleep(10);
    }
  }

  WinEventLoop loop_;
  RecordingEvents events_;
  std::unique_ptr<WinChangeScreenView> view_;
};

TEST_F(ChangeScreenViewTest, IsABorderlessNoticeCentredOnTheScreen) {
  const HWND hwnd = view_->hwnd();
  RECT client{};
  GetClientRect(hwnd, &client);
  const ChangingLayout expected = LayoutChanging(loop_.ScreenDpi());
  EXPECT_EQ(client.right, expected.client.cx);
  EXPECT_EQ(client.bottom, expected.client.cy);

  const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  EXPECT_FALSE(style & (WS_CAPTION & ~WS_BORDER));
  EXPECT_FALSE(style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_FALSE(IsWindowVisible(hwnd)) << "created hidden";

  view_->Show();
  EXPECT_TRUE(IsWindowVisible(hwnd));
  RECT window{};
  GetWindowRect(hwnd, &window);
  EXPECT_NEAR(window.left, GetSystemMetrics(SM_CXSCREEN) - window.right, 1);
  EXPECT_NEAR(window.top, GetSystemMetrics(SM_CYSCREEN) - window.bottom, 1);
  EXPECT_EQ(GetFocus(), hwnd) << "Esc must reach the notice";
}

TEST_F(ChangeScreenViewTest, CannotBeClosedFromOutsideAndHasNoTaskbarButton) {
  const HWND hwnd = view_->hwnd();
  EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  view_->Show();
  SendMessageW(hwnd, WM_CLOSE, 0, 0);
  PostMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);  // what Alt+F4 sends
  loop_.Yield();
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(view_->hwnd(), hwnd);
}

TEST_F(ChangeScreenViewTest, EscapeIsReportedAsCharacter27) {
  PostMessageW(view_->hwnd(), WM_CHAR, 27, 1);
  // A key-down alone becomes a character through the loop's TranslateMessage.
  PostMessageW(view_->hwnd(), WM_KEYDOWN, VK_ESCAPE, 1 | (1 << 16));
  PostMessageW(view_->hwnd(), WM_CHAR, L'a', 1);
  PumpUntil([&] { return events_.keys.size() >= 3; });
  // The translated character joins the end of the queue.
  EXPECT_EQ(events_.keys, (std::vector<int>{27, 'a', 27}));
}

TEST_F(ChangeScreenViewTest, TickMayDestroyTheWindowAndRunThenEnds) {
  events_.on_tick = [&] {
    view_->StopTimer();
    view_->Destroy();
  };
  EXPECT_EQ(loop_.LiveWindows(), 1);
  view_->Show();
  view_->StartTimer(20);
  loop_.Run();  // returns once the last window is gone
  // and leaves nothing in the queue that would end a later modal loop early.
  MSG left;
  EXPECT_FALSE(PeekMessageW(&left, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
  EXPECT_EQ(events_.ticks, 1);
  EXPECT_EQ(view_->hwnd(), nullptr);
  EXPECT_EQ(loop_.LiveWindows(), 0);
  // A destroyed view takes further calls quietly.
  view_->SetFileName("after");
  view_->StartTimer(10);
  EXPECT_EQ(view_->SetTranslucency(10), 2);
  loop_.Run();
}

TEST_F(ChangeScreenViewTest, ModalShowDisablesTheVisibleWindowsAndEnablesThemBeforeItGoes) {
  MainEvents no_events;
  WinMainView hidden(no_events, loop_);
  WinMainView shown(no_events, loop_);
  ShowWindow(shown.hwnd(), SW_SHOWNA);
  bool hidden_enabled_during_modal = false;
  bool shown_enabled_during_modal = true;
  bool shown_enabled_right_after_destroy = false;
  events_.on_tick = [&] {
    hidden_enabled_during_modal = IsWindowEnabled(hidden.hwnd());
    shown_enabled_during_modal = IsWindowEnabled(shown.hwnd());
    view_->StopTimer();
    view_->Destroy();
    // Already enabled when the notice went, so that the system could activate it.
    shown_enabled_right_after_destroy = IsWindowEnabled(shown.hwnd());
  };
  view_->StartTimer(20);
  view_->ShowModal();
  EXPECT_EQ(events_.ticks, 1);
  EXPECT_FALSE(shown_enabled_during_modal);
  EXPECT_TRUE(shown_enabled_right_after_destroy);
  EXPECT_TRUE(hidden_enabled_during_modal) << "a hidden window takes no input: left alone";
  EXPECT_TRUE(IsWindowEnabled(shown.hwnd()));
  EXPECT_TRUE(IsWindowEnabled(hidden.hwnd()));
  EXPECT_FALSE(IsWindowVisible(hidden.hwnd()));
}

TEST_F(ChangeScreenViewTest, AlphaBeyondSixteenBitsIsRefusedNotWrapped) {
  EXPECT_EQ(view_->SetTranslucency(65536 + 128), 1);
  EXPECT_FALSE(GetWindowLongPtrW(view_->hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_EQ(view_->SetTranslucency(128), 0);
}

TEST_F(ChangeScreenViewTest, TruncatesWithTheFileNameFontToTheLabelWidth) {
  const std::string path =
      R"(C:\Users\someone\Pictures\Holidays\2019\Coast\sunset over the bay.jpg)";
  const std::string shortened = view_->TruncatePath(path, 196);
  ASSERT_NE(shortened, path);
  EXPECT_NE(shortened.find("sunset over the bay.jpg"), std::string::npos);

  // It fits 196 pixels in the label's own font, and would not in the title's.
  WindowDc dc(view_->hwnd());
  const std::wstring wide = Widen(shortened);
  SIZE small{}, large{};
  {
    Font name_font = CreateArial(kChangingFileNameCentipoints, loop_.ScreenDpi(), false);
    Selected font(dc.get(), name_font.get());
    GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &small);
  }
  Font title_font = CreateArial(1575, loop_.ScreenDpi(), true);
  Selected font(dc.get(), title_font.get());
  GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &large);
  EXPECT_LE(small.cx, 196);
  EXPECT_GT(large.cx, 196);
}

TEST(EventLoopTest, NestedLoopEndsWhenItsWindowGoesInsideASentMessage) {
  WinEventLoop loop;
  CreateWindowArgs args;
  args.loop = &loop;
  Window other;  // keeps a window alive, as the main window does
  Window modal;  // closed by the system's default: destroyed
  ASSERT_TRUE(other.Create(args) && modal.Create(args));
  const HWND hwnd = modal.hwnd();
  // A message sent from another thread is handled inside GetMessageW, which does not return
  // for it: only something posted wakes the loop.
  std::thread closer([hwnd] {
    Sleep(100);
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
  });
  // Should the wake-up be missing, this timer ends the wait after a few seconds.
  const UINT_PTR guard = SetTimer(nullptr, 0, 5000, nullptr);
  const ULONGLONG start = GetTickCount64();
  loop.RunUntilDestroyed(hwnd);
  const ULONGLONG waited = GetTickCount64() - start;
  KillTimer(nullptr, guard);
  closer.join();
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_LT(waited, 2000u);
  EXPECT_EQ(loop.LiveWindows(), 1);
}

TEST(EventLoopTest, RunReturnsAtOnceWithoutWindows) {
  WinEventLoop loop;
  loop.Run();
  EXPECT_GE(loop.ScreenDpi(), 96);
}

TEST(MainViewTest, HiddenWindowFollowsEnablement) {
  WinEventLoop loop;
  WinViews views(loop);
  MainEvents no_events;
  std::unique_ptr<MainView> main = views.CreateMain(no_events);
  EXPECT_EQ(loop.LiveWindows(), 1);
  const HWND hwnd = FindWindowW(kMainClass, nullptr);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_FALSE(IsWindowVisible(hwnd));
  main->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(hwnd));
  main->SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(hwnd));
  EXPECT_NE(
      main->TruncatePath(R"(C:\a\b\c\d\e\f\g\h\i\j\k\l\m\n\o\p\q\picture.jpg)", 60).find("..."),
      std::string::npos);
  main.reset();
  EXPECT_EQ(loop.LiveWindows(), 0);
}

}  // namespace
}  // namespace vellumo
