#include "ui/about_layout.h"
#include "ui/ratio_layout.h"

namespace vellumo {

RatioRects LayoutRatio(int dpi) {
  using namespace ratio_layout;
  RatioRects rects{};
  rects.client = ToDevice({0, 0, kClientWidth, kClientHeight}, dpi);
  for (size_t i = 0; i < kSections.size(); ++i) {
    const Section& section = kSections[i];
    rects.sections[i] = {ToDevice(section.digit, dpi), ToDevice(section.frame, dpi),
                         ToDevice(section.text, dpi, section.frame)};
  }
  rects.size_slider = ToDevice(kSizeSlider, dpi, kSections[0].frame);
  rects.size_label = ToDevice(kSizeLabel, dpi, kSections[0].frame);
  rects.ratio_slider = ToDevice(kRatioSlider, dpi, kSections[1].frame);
  rects.ratio_label = ToDevice(kRatioLabel, dpi, kSections[1].frame);
  rects.ok = ToDevice(kOk, dpi);
  rects.cancel = ToDevice(kCancel, dpi);
  return rects;
}

AboutRects LayoutAbout(int dpi) {
  using namespace about_layout;
  return {ToDevice({0, 0, kClientWidth, kClientHeight}, dpi),
          ToDevice(kProduct, dpi),
          ToDevice(kVersion, dpi),
          ToDevice(kCredit, dpi),
          ToDevice(kLink, dpi),
          ToDevice(kImage, dpi),
          ToDevice(kCancel, dpi)};
}

}  // namespace vellumo
