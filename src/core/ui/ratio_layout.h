#pragma once

#include <array>

#include "ui/layout.h"

namespace vellumo {

// The automatic-mode dialog frmRatio as designed, in pixels at 96 dpi.
namespace ratio_layout {
inline constexpr int kClientWidth = 305;
inline constexpr int kClientHeight = 316;

// One numbered section: the digit at the left, the frame, and its explanation in the frame.
struct Section {
  Box digit;
  Box frame;
  Box text;  // in the frame
};
inline constexpr std::array<Section, 3> kSections{{
    {{3, 6, 52, 55}, {63, 6, 238, 94}, {15, 21, 211, 31}},       // the tile size limit
    {{3, 105, 52, 55}, {63, 105, 238, 112}, {15, 21, 211, 43}},  // the stretch ratio
    {{3, 222, 52, 55}, {63, 222, 238, 58}, {15, 21, 211, 31}},   // centred
}};
// The sliders and the labels that follow their thumbs, in the first two frames.
inline constexpr Box kSizeSlider{6, 54, 163, 34};
inline constexpr Box kSizeLabel{171, 66, 55, 19};
inline constexpr Box kRatioSlider{9, 69, 157, 34};
inline constexpr Box kRatioLabel{168, 81, 58, 19};
inline constexpr Box kOk{90, 288, 103, 25};
inline constexpr Box kCancel{198, 288, 103, 25};

// The section's digit: Arial bold, in hundredths of a point. The texts are in the system's font.
inline constexpr int kDigitPoints = 3600;
}  // namespace ratio_layout

// frmRatio on a screen of `dpi`, in client device pixels.
struct RatioRects {
  DeviceRect client;
  struct Section {
    DeviceRect digit;
    DeviceRect frame;
    DeviceRect text;
  };
  std::array<Section, 3> sections;
  DeviceRect size_slider;
  DeviceRect size_label;
  DeviceRect ratio_slider;
  DeviceRect ratio_label;
  DeviceRect ok;
  DeviceRect cancel;
};
RatioRects LayoutRatio(int dpi);

}  // namespace vellumo
