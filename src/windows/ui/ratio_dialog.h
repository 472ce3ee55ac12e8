#pragma once

#include "win.h"

#include <array>
#include <optional>

#include "event_loop.h"
#include "ui/ratio_form.h"

namespace vellumo {

inline constexpr wchar_t kRatioClass[] = L"VellumoRatio";

// frmRatio's controls beside IDOK (btnOk) and IDCANCEL (btnCancel).
inline constexpr int kSizeSliderId = 101;   // sliSize
inline constexpr int kSizeLabelId = 102;    // lblSize
inline constexpr int kRatioSliderId = 103;  // sliRatio
inline constexpr int kRatioLabelId = 104;   // lblRatio

// One numbered section: the digit at the left and the frame with its explanation.
struct RatioSection {
  RECT digit;
  RECT frame;
  RECT text;
};

// Where frmRatio's controls go at a given dpi, in client pixels.
struct RatioLayout {
  SIZE client;
  std::array<RatioSection, 3> sections;
  RECT size_slider;
  RECT size_label;
  RECT ratio_slider;
  RECT ratio_label;
  RECT ok;
  RECT cancel;
};

RatioLayout LayoutRatio(int dpi);

// Shows frmRatio modally with the sliders at `current` (moved into their ranges). The values
// chosen on OK; nothing when the dialog is cancelled or closed.
std::optional<AutoThresholds> RunRatioDialog(HWND owner, WinEventLoop& loop,
                                             AutoThresholds current);

}  // namespace vellumo
