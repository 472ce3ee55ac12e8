#include "design_scale.h"

#include <QWidget>
#include <cmath>

namespace vellumo {

DesignScale::DesignScale(const QWidget& widget) : factor_(widget.logicalDpiX() / 96.0) {
  if (factor_ < 1.0) factor_ = 1.0;
}

int DesignScale::operator()(int pixels) const {
  return static_cast<int>(std::lround(pixels * factor_));
}

// Edges scaled rather than sizes, so that neighbouring boxes stay neighbours.
QRect DesignScale::operator()(const Box& box, QPoint origin) const {
  const int left = origin.x() + box.left;
  const int top = origin.y() + box.top;
  const QPoint corner((*this)(left), (*this)(top));
  const QPoint far((*this)(left + box.width), (*this)(top + box.height));
  return QRect(corner, far - QPoint(1, 1));
}

QFont DesignFont(const char* family, int hundredths, bool bold) {
  QFont font(QString::fromLatin1(family));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(hundredths / 100.0);
  font.setBold(bold);
  return font;
}

}  // namespace vellumo
