#include "changing_window.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "main_window.h"
#include "utf.h"
#include "win_views.h"

namespace vellumo {
namespace {

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(ChangingLayoutTest, PartsSitWhereTheNoticeHasThemAndScaleWithDpi) {
  const ChangingLayout at96 = LayoutChanging(96);
  EXPECT_EQ(at96.client.cx, 312);
  EXPECT_EQ(at96.client.cy, 80);
  EXPECT_TRUE(SameRect(at96.image, RECT{9, 6, 76, 73}));
  EXPECT_TRUE(SameRect(at96.title, RECT{93, 21, 307, 52}));
  EXPECT_TRUE(SameRect(at96.file_name, RECT{108, 54, 304, 70}));
  EXPECT_EQ(at96.icon_size, 67);

  const ChangingLayout at144 = LayoutChanging(144);
  EXPECT_EQ(at144.client.cx, 468);
  EXPECT_EQ(at144.client.cy, 120);
  EXPECT_TRUE(SameRect(at144.file_name, RECT{162, 81, 456, 105}));
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

TEST_F(ChangeScreenViewTest, IsABorderlessNoticeCentredOnTheWorkArea) {
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
  RECT window{}, area{};
  GetWindowRect(hwnd, &window);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  EXPECT_NEAR(window.left - area.left, area.right - window.right, 1);
  EXPECT_NEAR(window.top - area.top, area.bottom - window.bottom, 1);
  EXPECT_EQ(GetFocus(), hwnd) << "Esc must reach the notice";
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

TEST_F(ChangeScreenViewTest, ModalShowDisablesTheOtherWindowsUntilItCloses) {
  WinMainView main(loop_);
  ASSERT_TRUE(IsWindowEnabled(main.hwnd()));
  bool main_enabled_during_modal = true;
  events_.on_tick = [&] {
    main_enabled_during_modal = IsWindowEnabled(main.hwnd());
    view_->StopTimer();
    view_->Destroy();
  };
  view_->StartTimer(20);
  view_->ShowModal();
  EXPECT_EQ(events_.ticks, 1);
  EXPECT_FALSE(main_enabled_during_modal);
  EXPECT_TRUE(IsWindowEnabled(main.hwnd()));
  EXPECT_FALSE(IsWindowVisible(main.hwnd())) << "the main window stays hidden";
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
    Font name_font = CreateArial(825, loop_.ScreenDpi(), false);
    Selected font(dc.get(), name_font.get());
    GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &small);
  }
  Font title_font = CreateArial(1575, loop_.ScreenDpi(), true);
  Selected font(dc.get(), title_font.get());
  GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &large);
  EXPECT_LE(small.cx, 196);
  EXPECT_GT(large.cx, 196);
}

TEST(EventLoopTest, RunReturnsAtOnceWithoutWindows) {
  WinEventLoop loop;
  loop.Run();
  EXPECT_GE(loop.ScreenDpi(), 96);
}

TEST(MainViewTest, HiddenWindowFollowsEnablement) {
  WinEventLoop loop;
  WinViews views(loop);
  std::unique_ptr<MainView> main = views.CreateMain();
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
