#include "ui/preview.h"

#include <algorithm>
#include <cmath>

#include "ui/main_layout.h"

namespace vellumo {
namespace {

// Rounded to whole pixels first, then halved, truncating: the spare room split for centring.
int IntegerHalve(float value) {
  return RoundHalfEven(value) / 2;
}

}  // namespace

std::string NotChangedText(const std::string& reason) {
  return "\r\n\r\nNot changed:\r\n" + reason;
}

std::string PreviewCaption(PixelSize picture) {
  return std::string(kPreviewCaption) + " - " + std::to_string(picture.width) + " x " +
         std::to_string(picture.height);
}

int RoundHalfEven(float value) {
  return static_cast<int>(std::nearbyint(value));  // the default rounding mode: to even
}

PixelSize PreviewDecodeSize(PixelSize picture, double device_scale) {
  const PreviewRect shown = FitPreview(picture, main_layout::kPreviewArea);
  // A whisker below a whole number is that number: float arithmetic must not add a pixel.
  const auto device = [device_scale](float length, int most) {
    const double scaled = std::ceil(static_cast<double>(length) * device_scale - 1e-3);
    return std::clamp(static_cast<int>(scaled), 1, std::max(most, 1));
  };
  return {device(shown.width, picture.width), device(shown.height, picture.height)};
}

DeviceRect main_layout::PreviewDeviceRect(const PreviewRect& rect, int dpi) {
  const int left = ToDevice(rect.left - kPreviewArea.left, dpi);
  const int top = ToDevice(rect.top - kPreviewArea.top, dpi);
  return {left, top, left + std::max(1, ToDevice(rect.width, dpi)),
          top + std::max(1, ToDevice(rect.height, dpi))};
}

bool ThumbnailCovers(PixelSize thumbnail, PixelSize wanted, PixelSize full) {
  const bool whole = thumbnail.width == full.width && thumbnail.height == full.height;
  return whole || (thumbnail.width >= wanted.width && thumbnail.height >= wanted.height);
}

PreviewRect FitPreview(PixelSize picture, PreviewArea area) {
  if (picture.width <= 0 || picture.height <= 0) return {};
  PreviewRect rect;
  if (picture.height > picture.width) {
    const float r = static_cast<float>(picture.height) / static_cast<float>(picture.width);
    rect.height = static_cast<float>(area.height);
    rect.width = static_cast<float>(area.height) / r;
    rect.top = area.top;
    rect.left = area.left + IntegerHalve(static_cast<float>(area.width) - rect.width);
    return rect;
  }
  const float r = static_cast<float>(picture.width) / static_cast<float>(picture.height);
  rect.width = static_cast<float>(area.width);
  rect.height = static_cast<float>(area.width) / r;
  rect.top = area.top + IntegerHalve(static_cast<float>(area.height) - rect.height);
  rect.left = area.left;
  return rect;
}

}  // namespace vellumo
