#pragma once

#include "win.h"

#include <array>
#include <optional>

#include "event_loop.h"
#include "ui/ratio_form.h"
#include "ui/ratio_layout.h"

namespace vellumo {

inline constexpr wchar_t kRatioClass[] = L"VellumoRatio";

// frmRatio's controls beside IDOK (btnOk) and IDCANCEL (btnCancel).
inline constexpr int kSizeSliderId = 101;   // sliSize
inline constexpr int kSizeLabelId = 102;    // lblSize
inline constexpr int kRatioSliderId = 103;  // sliRatio
inline constexpr int kRatioLabelId = 104;   // lblRatio

// Shows frmRatio modally with the sliders at `current` (moved into their ranges). The values
// chosen on OK; nothing when the dialog is cancelled or closed.
std::optional<AutoThresholds> RunRatioDialog(HWND owner, WinEventLoop& loop,
                                             AutoThresholds current);

}  // namespace vellumo
