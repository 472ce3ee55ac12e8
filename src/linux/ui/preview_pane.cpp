#include "preview_pane.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>

#include "ui/main_layout.h"

namespace vellumo {
namespace {

// Linux has no system colour for the desktop behind the windows; the theme's dark shade stands
// in for it, so that a picture narrower than the area shows its edges.
void FillWith(QWidget& widget, QPalette::ColorRole role) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, palette.color(role));
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
}

}  // namespace

// Children stack in the order they are made: the last one made is on top.
PreviewPane::PreviewPane(QWidget* parent, const QRect& geometry, const QFont& notice_font)
    : QWidget(parent),
      background_(new QLabel(this)),
      picture_(new QLabel(this)),
      notice_(new QLabel(this)),
      border_(new QFrame(this)) {
  setGeometry(geometry);
  setAccessibleName(QStringLiteral("Preview"));
  // The background and the notice lie just inside the border.
  constexpr int kBorder = main_layout::kPreviewBorderPixels;
  const QRect inside = rect().adjusted(kBorder, kBorder, -kBorder, -kBorder);
  background_->setGeometry(inside);
  FillWith(*background_, QPalette::Dark);

  picture_->setScaledContents(true);
  picture_->hide();

  notice_->setGeometry(inside);
  notice_->setFont(notice_font);
  notice_->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
  notice_->setWordWrap(true);
  notice_->setTextFormat(Qt::PlainText);
  FillWith(*notice_, QPalette::Window);
  notice_->hide();

  border_->setFrameStyle(QFrame::Box | QFrame::Plain);
  border_->setLineWidth(main_layout::kPreviewBorderPixels);
  border_->setForegroundRole(QPalette::Mid);
  border_->setAttribute(Qt::WA_TransparentForMouseEvents);
  border_->setGeometry(rect());
}

void PreviewPane::SetNotice(const QString& text) {
  QString lines = text;
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  notice_->setText(lines);
  notice_->setAccessibleName(lines.trimmed());
}

void PreviewPane::ShowNotice(bool visible) {
  notice_->setVisible(visible);
}

void PreviewPane::ShowPicture(bool visible) {
  picture_->setVisible(visible);
}

void PreviewPane::SetPicture(const QImage& image) {
  picture_->setPixmap(QPixmap::fromImage(image));
}

void PreviewPane::ClearPicture() {
  picture_->clear();
}

void PreviewPane::PlacePicture(const QRect& rect) {
  picture_->setGeometry(rect);
}

}  // namespace vellumo
