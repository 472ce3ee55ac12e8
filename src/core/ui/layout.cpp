#include "ui/layout.h"

#include <cmath>

namespace vellumo {

int ToDevice(double design_pixels, int dpi) {
  return static_cast<int>(std::lround(design_pixels * dpi / kDesignDpi));
}

DeviceRect ToDevice(const Box& box, int dpi, const Box& origin) {
  const int left = origin.left + box.left;
  const int top = origin.top + box.top;
  return {ToDevice(left, dpi), ToDevice(top, dpi), ToDevice(left + box.width, dpi),
          ToDevice(top + box.height, dpi)};
}

double StepDownFont(double size, double step, const std::function<bool(double)>& fits) {
  const double smallest = size * 3 / 4;
  while (size - step >= smallest && !fits(size)) size -= step;
  return size;
}

}  // namespace vellumo
