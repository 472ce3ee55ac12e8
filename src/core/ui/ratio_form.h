#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vellumo {

// The two thresholds of the automatic display mode, as frmRatio edits them.
struct AutoThresholds {
  int16_t size = 300;  // iAutoSize: pictures at most this wide or high are tiled
  int16_t ratio = 10;  // iAutoRatio: percent an aspect ratio may differ from 4:3 and stretch
};

// One of frmRatio's trackbars and the label that follows its thumb.
struct SliderSpec {
  int minimum;
  int maximum;
  int small_step;  // arrow keys
  int large_step;  // page keys, a click beside the thumb
  int tick_every;
  const char* suffix;  // after the value in the label
};

inline constexpr SliderSpec kSizeSlider{0, 800, 1, 5, 25, " pixels"};
inline constexpr SliderSpec kRatioSlider{0, 50, 1, 5, 2, "% margin"};

// Where the thumb starts for a stored value: the value itself, or the nearest end of the range
// for a value edited by hand outside it. The stored value changes only on OK.
int SliderStart(const SliderSpec& slider, int stored);

// "300 pixels", "10% margin".
std::string SliderLabel(const SliderSpec& slider, int value);

// The dialog's texts.
namespace ratio_text {
inline constexpr char kCaption[] = "Automatic Display Mode Configuration";
inline constexpr char kSizeTitle[] = "Tile Size Limit";
inline constexpr char kSizeText[] =
    "If either the width or height is less than the value set below, then the image will be "
    "tiled.";
inline constexpr char kRatioTitle[] = "Stretch Image Ratio (4:3 display)";
inline constexpr char kRatioText[] =
    "If the aspect ratio of the image meets the requirements below, then stretch display mode "
    "will be used.";
inline constexpr char kCenterTitle[] = "Center Image";
inline constexpr char kCenterText[] =
    "If the image meets none of the criteria above, then the center display is used.";
inline constexpr char kOk[] = "OK";
inline constexpr char kCancel[] = "Cancel";
}  // namespace ratio_text

}  // namespace vellumo
