#include "win.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include <functional>
#include <string>
#include <vector>

#include "about_dialog.h"
#include "controls.h"
#include "ratio_dialog.h"
#include "ui/about.h"
#include "utf.h"
#include "window.h"

namespace vellumo {
namespace {

// Where a control lies in its parent's client area.
DeviceRect Placed(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

// The first top-level window of this thread with the class: the test's own dialog, never one
// another program shows on the same desktop.
HWND ThreadWindow(const wchar_t* class_name) {
  struct Search {
    const wchar_t* class_name;
    HWND found;
  } search{class_name, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM context) -> BOOL {
        auto* s = reinterpret_cast<Search*>(context);
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (lstrcmpW(name, s->class_name) != 0) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Acts on a modal dialog from inside its loop, one step per timer tick: what a step posts is
// handled before the next step looks. A dialog left open after the last step fails the test and
// is closed rather than hanging it.
class DialogDriver {
 public:
  using Step = std::function<void(HWND dialog)>;

  DialogDriver(const wchar_t* class_name, std::vector<Step> steps)
      : class_name_(class_name), steps_(std::move(steps)) {
    CreateWindowArgs args;
    args.class_name = L"VellumoTestDriver";
    args.style = WS_POPUP;
    timer_.onTimer = [this](UINT_PTR) { Tick(); };
    timer_.Create(args);
    SetTimer(timer_.hwnd(), 1, 20, nullptr);
  }

 private:
  void Tick() {
    const HWND dialog = ThreadWindow(class_name_);
    if (dialog && next_ < steps_.size()) {
      steps_[next_++](dialog);
      return;
    }
    if (++idle_ticks_ < 100) return;
    KillTimer(timer_.hwnd(), 1);
    if (!dialog) return;
    ADD_FAILURE() << "the dialog is still open after its last step";
    DestroyWindow(dialog);
  }

  const wchar_t* class_name_;
  std::vector<Step> steps_;
  size_t next_ = 0;
  int idle_ticks_ = 0;
  Window timer_;
};

std::wstring Text(HWND dialog, int id) {
  return WindowText(GetDlgItem(dialog, id));
}

void Scroll(HWND dialog, int slider_id, int position, int code) {
  const HWND slider = GetDlgItem(dialog, slider_id);
  SendMessageW(slider, TBM_SETPOS, TRUE, position);
  SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(slider));
}

void PostKey(UINT key) {
  PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
}

TEST(RatioDialogTest, OpensAtTheStoredValuesAndOkReturnsTheMovedOnes) {
  WinEventLoop loop;
  DialogDriver driver(
      kRatioClass,
      {
          [&](HWND dialog) {
            EXPECT_EQ(WindowText(dialog), Widen(ratio_text::kCaption));
            RECT client{};
            GetClientRect(dialog, &client);
            const RatioRects layout = LayoutRatio(loop.ScreenDpi());
            EXPECT_EQ(client.right, layout.client.width());
            // The controls stand where the one layout of both programs puts them.
            EXPECT_EQ(Placed(GetDlgItem(dialog, kSizeSliderId)), layout.size_slider);
            EXPECT_EQ(Placed(GetDlgItem(dialog, kRatioLabelId)), layout.ratio_label);
            EXPECT_EQ(Placed(GetDlgItem(dialog, IDOK)), layout.ok);
            EXPECT_EQ(Text(dialog, kSizeLabelId), L"300 pixels");
            EXPECT_EQ(Text(dialog, kRatioLabelId), L"10% margin");
            // The tab order, from the slider that has the focus.
            const HWND size = GetDlgItem(dialog, kSizeSliderId);
            EXPECT_EQ(GetFocus(), size);
            const HWND ratio = GetNextDlgTabItem(dialog, size, FALSE);
            EXPECT_EQ(ratio, GetDlgItem(dialog, kRatioSliderId));
            const HWND ok = GetNextDlgTabItem(dialog, ratio, FALSE);
            EXPECT_EQ(ok, GetDlgItem(dialog, IDOK));
            EXPECT_EQ(GetNextDlgTabItem(dialog, ok, FALSE), GetDlgItem(dialog, IDCANCEL));

            Scroll(dialog, kSizeSliderId, 0, TB_THUMBTRACK);  // the label follows a drag
            EXPECT_EQ(Text(dialog, kSizeLabelId), L"0 pixels");
            SetFocus(ratio);
            PostKey(VK_RIGHT);  // the trackbar moves by its small step and reports it
          },
          [&](HWND dialog) {
            EXPECT_EQ(Text(dialog, kRatioLabelId), L"11% margin");
            PostKey(VK_RETURN);  // presses the default button
          },
      });
  const auto chosen = RunRatioDialog(nullptr, loop, AutoThresholds{300, 10});
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(chosen->size, 0);
  EXPECT_EQ(chosen->ratio, 11);
}

struct Closer {
  const char* name;
  std::function<void(HWND dialog)> close;
};

// gtest names the cases by it, and prints it rather than the bytes.
void PrintTo(const Closer& closer, std::ostream* out) {
  *out << closer.name;
}

class RatioDialogCloseTest : public testing::TestWithParam<Closer> {};

TEST_P(RatioDialogCloseTest, ReturnsNothing) {
  WinEventLoop loop;
  DialogDriver driver(kRatioClass, {
                                       [&](HWND dialog) {
                                         // Values edited by hand beyond the ranges start at the
                                         // nearest end.
                                         EXPECT_EQ(Text(dialog, kSizeLabelId), L"800 pixels");
                                         EXPECT_EQ(Text(dialog, kRatioLabelId), L"0% margin");
                                         Scroll(dialog, kRatioSliderId, 20, TB_ENDTRACK);
                                         EXPECT_EQ(Text(dialog, kRatioLabelId), L"20% margin");
                                         GetParam().close(dialog);
                                       },
                                   });
  EXPECT_FALSE(RunRatioDialog(nullptr, loop, AutoThresholds{1000, -5}).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Closers, RatioDialogCloseTest,
    testing::Values(
        Closer{"CancelButton",
               [](HWND dialog) { PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0); }},
        Closer{"EscapeKey", [](HWND) { PostKey(VK_ESCAPE); }},
        Closer{"CloseBox", [](HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }}),
    [](const testing::TestParamInfo<Closer>& info) { return std::string(info.param.name); });

TEST(AboutDialogTest, LinkOpensTheAddressEachTimeAndEscapeCloses) {
  WinEventLoop loop;
  std::vector<std::wstring> opened;
  DialogDriver driver(kAboutClass,
                      {
                          [&](HWND dialog) {
                            EXPECT_EQ(WindowText(dialog), Widen(about_text::kCaption));
                            const HWND link = GetDlgItem(dialog, kLinkId);
                            EXPECT_EQ(WindowText(link), Widen(about_text::kLinkText));
                            EXPECT_EQ(GetFocus(), link);
                            SendMessageW(dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(link),
                                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
                            EXPECT_EQ(GetCursor(),
                                      LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
                            // The cancel button is there for Esc, below what the client area shows.
                            RECT client{}, cancel{};
                            GetClientRect(dialog, &client);
                            GetWindowRect(GetDlgItem(dialog, IDCANCEL), &cancel);
                            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&cancel), 2);
                            EXPECT_GE(cancel.top, client.bottom);

                            PostMessageW(link, BM_CLICK, 0, 0);
                            PostMessageW(link, BM_CLICK, 0, 0);
                            PostKey(VK_RETURN);
                          },
                          [&](HWND) {
                            EXPECT_EQ(opened.size(), 3u) << "two clicks and Enter";
                            PostKey(VK_ESCAPE);
                          },
                      });
  RunAboutBox(nullptr, loop, [&](const std::wstring& address) { opened.push_back(address); });
  EXPECT_EQ(opened, std::vector<std::wstring>(3, Widen(about_text::kMakerAddress)));
}

IAccessible* ClientObject(HWND window) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                        __uuidof(IAccessible), reinterpret_cast<void**>(&object))))
    return nullptr;
  return object;
}

// The name of a shown object, empty for a hidden one.
std::wstring ShownName(IAccessible* object) {
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  VARIANT state{};
  if (FAILED(object->get_accState(self, &state)) || state.vt != VT_I4 ||
      (state.lVal & STATE_SYSTEM_INVISIBLE))
    return {};
  BSTR name = nullptr;
  if (FAILED(object->get_accName(self, &name)) || !name) return {};
  std::wstring text(name, SysStringLen(name));
  SysFreeString(name);
  return text;
}

// What a screen reader reads of a window: its children as the system's accessibility layer
// gives them, in order, and the names of those shown.
std::vector<std::wstring> AccessibleNames(HWND window) {
  std::vector<std::wstring> names;
  IAccessible* client = ClientObject(window);
  if (!client) return names;
  long count = 0;
  client->get_accChildCount(&count);
  std::vector<VARIANT> children(static_cast<size_t>(count));
  long got = 0;
  AccessibleChildren(client, 0, count, children.data(), &got);
  for (long i = 0; i < got; ++i) {
    VARIANT& child = children[static_cast<size_t>(i)];
    HWND control = nullptr;
    IAccessible* item = nullptr;
    if (child.vt == VT_DISPATCH && child.pdispVal &&
        SUCCEEDED(child.pdispVal->QueryInterface(__uuidof(IAccessible),
                                                 reinterpret_cast<void**>(&item)))) {
      WindowFromAccessibleObject(item, &control);
      item->Release();
    }
    VariantClear(&child);
    // Each child is a window; what it shows is its client part.
    if (IAccessible* shown = control ? ClientObject(control) : nullptr) {
      if (std::wstring name = ShownName(shown); !name.empty()) names.push_back(name);
      shown->Release();
    }
  }
  client->Release();
  return names;
}

// The texts were painted, so that a screen reader found only the link and the hidden Cancel.
TEST(AboutDialogTest, ScreenReadersFindItsTexts) {
  WinEventLoop loop;
  std::vector<std::wstring> names;
  DialogDriver driver(kAboutClass, {
                                       [&](HWND dialog) {
                                         names = AccessibleNames(dialog);
                                         PostKey(VK_ESCAPE);
                                       },
                                   });
  RunAboutBox(nullptr, loop, [](const std::wstring&) {});
  EXPECT_EQ(names,
            (std::vector<std::wstring>{Widen(about_text::kProduct), Widen(about_text::kVersion),
                                       Widen(about_text::kCredit), Widen(about_text::kLinkText),
                                       Widen(about_text::kCancel)}));
}

}  // namespace
}  // namespace vellumo
