#pragma once

#include <functional>

namespace vellumo {

// The windows are designed in pixels at 96 dpi; each view scales them to its screen.
inline constexpr int kDesignDpi = 96;

// A rectangle of a window's design: left, top, width, height at 96 dpi. Controls inside a frame
// are placed relative to the frame.
struct Box {
  int left;
  int top;
  int width;
  int height;
};

// A rectangle on the screen, in device pixels: from left, top up to (not including) right,
// bottom.
struct DeviceRect {
  int left;
  int top;
  int right;
  int bottom;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool operator==(const DeviceRect&) const = default;
};

// A length of the design on a screen of `dpi`, rounded to the nearest device pixel, halves
// away from zero (as the system's MulDiv rounds). The one rounding of every window.
int ToDevice(double design_pixels, int dpi);

// A box of the design on a screen of `dpi`, inside a frame whose corner is `origin` (a box of
// the window has none). Its edges are scaled rather than its size, so that boxes that meet in
// the design meet on every screen.
DeviceRect ToDevice(const Box& box, int dpi, const Box& origin = {0, 0, 0, 0});

// An RGB colour of the design.
struct Colour {
  int red;
  int green;
  int blue;
};

// The layouts are fixed, and the system's font may be wider than the one they were drawn for
// (another face, or a size that does not grow evenly with the dpi): a text's font is made
// smaller, `step` at a time, while `fits` says it would be cut off, but never below three
// quarters of `size`. Returns the size to use.
double StepDownFont(double size, double step, const std::function<bool(double size)>& fits);

}  // namespace vellumo
