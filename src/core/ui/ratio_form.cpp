#include "ui/ratio_form.h"

#include <algorithm>

namespace vellumo {

int SliderStart(const SliderSpec& slider, int stored) {
  return std::clamp(stored, slider.minimum, slider.maximum);
}

std::string SliderLabel(const SliderSpec& slider, int value) {
  return std::to_string(value) + slider.suffix;
}

}  // namespace vellumo
