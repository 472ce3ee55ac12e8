#include "ratio_dialog.h"

#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "controls.h"
#include "dialog.h"
#include "gdi.h"
#include "res/resource.h"
#include "utf.h"
#include "window.h"

namespace vellumo {
namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kTextStyle = SS_LEFT | SS_NOPREFIX;
// A value label's id follows its slider's.
static_assert(kSizeLabelId == kSizeSliderId + 1 && kRatioLabelId == kRatioSliderId + 1);

// The system's face for dialog text, at the screen's dpi already.
LOGFONTW MessageFace() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
    return metrics.lfMessageFont;
  LOGFONTW face{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(face), &face);
  return face;
}

// A text and the box it must fit in.
struct TextBox {
  std::wstring text;
  RECT box;
};

// The texts that wrap: the explanations, and the value labels at their widest.
std::vector<TextBox> WrappedTexts(const RatioRects& layout) {
  using namespace ratio_text;
  const auto& s = layout.sections;
  return {{Widen(kSizeText), ToRect(s[0].text)},
          {Widen(kRatioText), ToRect(s[1].text)},
          {Widen(kCenterText), ToRect(s[2].text)},
          {Widen(SliderLabel(kSizeSlider, kSizeSlider.maximum)), ToRect(layout.size_label)},
          {Widen(SliderLabel(kRatioSlider, kRatioSlider.maximum)), ToRect(layout.ratio_label)}};
}

bool AllFit(HDC dc, HFONT font, const std::vector<TextBox>& texts) {
  Selected selected(dc, font);
  for (const TextBox& t : texts) {
    const LONG width = t.box.right - t.box.left;
    RECT need{0, 0, width, 0};
    DrawTextW(dc, t.text.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    if (need.right > width || need.bottom > t.box.bottom - t.box.top) return false;
  }
  return true;
}

// The message font, a pixel smaller at a time where a text would be cut off.
Font TextFont(const std::vector<TextBox>& texts) {
  LOGFONTW face = MessageFace();
  const int sign = face.lfHeight < 0 ? -1 : 1;
  WindowDc screen(nullptr);
  const auto with_height = [&](double pixels) {
    face.lfHeight = sign * static_cast<LONG>(pixels);
    return Font(CreateFontIndirectW(&face));
  };
  const double height = StepDownFont(std::abs(face.lfHeight), 1, [&](double pixels) {
    const Font font = with_height(pixels);
    return font && AllFit(screen.get(), font.get(), texts);
  });
  return with_height(height);
}

// A trackbar and the label that shows its value.
struct Slider {
  const SliderSpec* spec = nullptr;
  HWND control = nullptr;
  HWND label = nullptr;

  int Value() const { return static_cast<int>(SendMessageW(control, TBM_GETPOS, 0, 0)); }
  void ShowValue() const { SetWindowTextW(label, Widen(SliderLabel(*spec, Value())).c_str()); }
};

class RatioDialog {
 public:
  RatioDialog(HWND owner, WinEventLoop& loop);
  std::optional<AutoThresholds> Run(AutoThresholds current);

 private:
  void CreateControls();
  void AddSection(const RatioRects::Section& place, const wchar_t* digit, const char* title,
                  const char* text);
  Slider AddSlider(const SliderSpec& spec, const DeviceRect& place, const DeviceRect& label, int id,
                   const char* name);
  void SetSlider(const Slider& slider, int stored);
  void OnScroll(HWND control);
  void OnCommand(int id, int code);

  WinEventLoop& loop_;
  RatioRects layout_;
  Font text_font_;
  Font digit_font_;
  DialogFocus focus_;
  Slider size_;
  Slider ratio_;
  std::optional<AutoThresholds> result_;
  Window window_;  // last: destroyed first, while the fonts are still there
};

RatioDialog::RatioDialog(HWND owner, WinEventLoop& loop) : loop_(loop) {
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  const int dpi = loop.ScreenDpi();
  layout_ = LayoutRatio(dpi);
  text_font_ = TextFont(WrappedTexts(layout_));
  digit_font_ = CreateArial(ratio_layout::kDigitPoints, dpi, true);

  CreateWindowArgs args;
  args.class_name = kRatioClass;
  args.title = Widen(ratio_text::kCaption);
  args.style = kStyle;
  args.ex_style = kDialogKeys;
  args.client_size = SIZE{layout_.client.width(), layout_.client.height()};
  args.centred = true;
  args.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_RATIO));
  args.owner = owner;
  args.loop = &loop;

  window_.onHScroll = [this](HWND control, int) { OnScroll(control); };
  window_.onCommand = [this](int id, int code, HWND) { OnCommand(id, code); };
  window_.onMessage = [this](UINT message, WPARAM wparam, LPARAM) {
    return focus_.Handle(window_.hwnd(), message, wparam);
  };
  if (!window_.Create(args)) return;
  SetSmallIcon(window_.hwnd(), IDI_RATIO);
  CreateControls();
  InitFocusCues(window_.hwnd());
}

// Creation order is the tab order: the size slider, the ratio slider, OK, Cancel.
void RatioDialog::CreateControls() {
  using namespace ratio_text;
  const RatioRects& l = layout_;
  AddSection(l.sections[0], L"1", kSizeTitle, kSizeText);
  size_ = AddSlider(kSizeSlider, l.size_slider, l.size_label, kSizeSliderId, kSizeTitle);
  AddSection(l.sections[1], L"2", kRatioTitle, kRatioText);
  ratio_ = AddSlider(kRatioSlider, l.ratio_slider, l.ratio_label, kRatioSliderId, kRatioTitle);
  AddSection(l.sections[2], L"3", kCenterTitle, kCenterText);

  const HWND hwnd = window_.hwnd();
  const HFONT font = text_font_.get();
  CreateChild(hwnd, {L"BUTTON", Widen(kOk), BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 0,
                     ToRect(l.ok), IDOK, font});
  CreateChild(hwnd, {L"BUTTON", Widen(kCancel), BS_PUSHBUTTON | WS_TABSTOP, 0, ToRect(l.cancel),
                     IDCANCEL, font});
}

void RatioDialog::AddSection(const RatioRects::Section& place, const wchar_t* digit,
                             const char* title, const char* text) {
  const HWND hwnd = window_.hwnd();
  const HFONT font = text_font_.get();
  CreateChild(hwnd, {L"STATIC", digit, kTextStyle, 0, ToRect(place.digit), 0, digit_font_.get()});
  CreateChild(hwnd, {L"BUTTON", Widen(title), BS_GROUPBOX, 0, ToRect(place.frame), 0, font});
  CreateChild(hwnd, {L"STATIC", Widen(text), kTextStyle, 0, ToRect(place.text), 0, font});
}

Slider RatioDialog::AddSlider(const SliderSpec& spec, const DeviceRect& place,
                              const DeviceRect& label, int id, const char* name) {
  const HWND hwnd = window_.hwnd();
  constexpr DWORD kTrackbar = TBS_HORZ | TBS_AUTOTICKS | TBS_BOTTOM | WS_TABSTOP | WS_GROUP;
  // Screen readers name a trackbar by the static text before it, here the frame's explanation;
  // the window text carries the frame's caption for those that read it instead.
  Slider slider{&spec, CreateChild(hwnd, {TRACKBAR_CLASSW, Widen(name), kTrackbar, 0, ToRect(place),
                                          id, text_font_.get()})};
  slider.label = CreateChild(
      hwnd, {L"STATIC", L"", SS_RIGHT | SS_NOPREFIX, 0, ToRect(label), id + 1, text_font_.get()});
  const HWND control = slider.control;
  SendMessageW(control, TBM_SETRANGE, FALSE, MAKELPARAM(spec.minimum, spec.maximum));
  SendMessageW(control, TBM_SETLINESIZE, 0, spec.small_step);
  SendMessageW(control, TBM_SETPAGESIZE, 0, spec.large_step);
  SendMessageW(control, TBM_SETTICFREQ, spec.tick_every, 0);
  return slider;
}

void RatioDialog::SetSlider(const Slider& slider, int stored) {
  SendMessageW(slider.control, TBM_SETPOS, TRUE, SliderStart(*slider.spec, stored));
  // Setting the position raises no scroll message: the label is set here.
  slider.ShowValue();
}

// Every scroll code (a drag, a key, a click beside the thumb, the end of a move) shows the value.
void RatioDialog::OnScroll(HWND control) {
  if (control == size_.control) size_.ShowValue();
  if (control == ratio_.control) ratio_.ShowValue();
}

void RatioDialog::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  if (id == IDOK) {
    result_ =
        AutoThresholds{static_cast<int16_t>(size_.Value()), static_cast<int16_t>(ratio_.Value())};
  }
  if (id == IDOK || id == IDCANCEL) window_.Destroy();
}

std::optional<AutoThresholds> RatioDialog::Run(AutoThresholds current) {
  if (!window_.hwnd() || !size_.control || !ratio_.control) return std::nullopt;
  SetSlider(size_, current.size);
  SetSlider(ratio_, current.ratio);
  window_.RunModal(loop_);
  return result_;
}

}  // namespace

std::optional<AutoThresholds> RunRatioDialog(HWND owner, WinEventLoop& loop,
                                             AutoThresholds current) {
  RatioDialog dialog(owner, loop);
  return dialog.Run(current);
}

}  // namespace vellumo
