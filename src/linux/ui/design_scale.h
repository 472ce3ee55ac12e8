#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>

#include "ui/main_layout.h"

class QWidget;

namespace vellumo {

inline QRect ToQRect(const DeviceRect& rect) {
  return QRect(rect.left, rect.top, rect.width(), rect.height());
}

// Turns the windows' designed sizes, pixels at 96 dpi, into a widget's logical pixels. Qt's
// device pixel ratio already covers a scaled screen; what is left is a logical dpi above 96,
// where the fonts grow and the rectangles must grow with them.
class DesignScale {
 public:
  explicit DesignScale(const QWidget& widget);

  int operator()(int pixels) const { return ToDevice(pixels, dpi_); }
  // Edges scaled rather than sizes, so that neighbouring boxes stay neighbours.
  QRect operator()(const Box& box, QPoint origin = {}) const {
    return ToQRect(ToDevice(box, dpi_, Box{origin.x(), origin.y(), 0, 0}));
  }
  int dpi() const { return dpi_; }
  double factor() const { return static_cast<double>(dpi_) / kDesignDpi; }

 private:
  int dpi_;
};

// The top-left corner of a frame, the origin of the controls inside it.
inline QPoint Corner(const Box& frame) {
  return {frame.left, frame.top};
}

// `family` at a size given in hundredths of a point, falling back to the system's sans serif
// where the family is missing.
QFont DesignFont(const char* family, int hundredths, bool bold);
inline QFont ArialFont(int hundredths, bool bold) {
  return DesignFont("Arial", hundredths, bold);
}

}  // namespace vellumo
