#include "change/display_mode.h"

namespace vellumo {
namespace {

constexpr int64_t kHimetricPerInch = 2540;

std::string AutomaticMode(PixelSize picture, int dpi, int16_t auto_size, int16_t auto_ratio) {
  const int64_t wh = PixelsToHimetric(picture.width, dpi);
  const int64_t hh = PixelsToHimetric(picture.height, dpi);
  const double ratio = static_cast<double>(wh) / static_cast<double>(hh);
  const int64_t wp = HimetricToPixels(wh, dpi);
  const int64_t hp = HimetricToPixels(hh, dpi);

  constexpr double kFourThirds = 4.0 / 3.0;
  const double margin = auto_ratio / 100.0;
  const double low = kFourThirds - margin * kFourThirds;
  const double high = (margin + 1) * kFourThirds;

  // A small picture is tiled even when its shape would stretch well.
  if (wp <= auto_size || hp <= auto_size) return "TILED";
  if (low <= ratio && ratio <= high) return "STRETCH";
  return "CENTER";
}

}  // namespace

int64_t PixelsToHimetric(int64_t pixels, int dpi) {
  const int64_t scaled = pixels * kHimetricPerInch;
  return (2 * scaled + dpi) / (2 * dpi);
}

int64_t HimetricToPixels(int64_t himetric, int dpi) {
  const int64_t scaled = himetric * dpi;
  int64_t whole = scaled / kHimetricPerInch;
  const int64_t twice_rest = 2 * (scaled % kHimetricPerInch);
  if (twice_rest > kHimetricPerInch || (twice_rest == kHimetricPerInch && whole % 2 == 1)) ++whole;
  return whole;
}

std::optional<std::string> Choose_Display_Mode(int16_t display_type, PixelSize picture, int dpi,
                                               int16_t auto_size, int16_t auto_ratio) {
  switch (display_type) {
    case kAuto:
      if (picture.height <= 0 || dpi <= 0) return std::nullopt;
      return AutomaticMode(picture, dpi, auto_size, auto_ratio);
    case kStretch:
      return "STRETCH";
    case kCenter:
      return "CENTER";
    case kTile:
      return "TILED";
    default:
      return "";
  }
}

}  // namespace vellumo
