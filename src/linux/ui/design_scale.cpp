#include "design_scale.h"

#include <QWidget>
#include <algorithm>

namespace vellumo {

DesignScale::DesignScale(const QWidget& widget)
    : dpi_(std::max(widget.logicalDpiX(), kDesignDpi)) {}

QFont DesignFont(const char* family, int hundredths, bool bold) {
  QFont font(QString::fromLatin1(family));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(hundredths / 100.0);
  font.setBold(bold);
  return font;
}

}  // namespace vellumo
