#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>

#include "ui/main_layout.h"

class QWidget;

namespace vellumo {

// Turns the windows' designed sizes, pixels at 96 dpi, into a widget's logical pixels. Qt's
// device pixel ratio already covers a scaled screen; what is left is a logical dpi above 96,
// where the fonts grow and the rectangles must grow with them.
class DesignScale {
 public:
  explicit DesignScale(const QWidget& widget);
  explicit DesignScale(double factor) : factor_(factor) {}

  int operator()(int pixels) const;
  QRect operator()(const Box& box, QPoint origin = {}) const;
  double factor() const { return factor_; }

 private:
  double factor_;
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
