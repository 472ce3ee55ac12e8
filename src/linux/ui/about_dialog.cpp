#include "about_dialog.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>

#include "design_scale.h"
#include "pictures.h"
#include "ui/about.h"
#include "ui/about_layout.h"

namespace vellumo {
namespace {

QLabel* Label(QWidget* parent, const char* text, const QRect& where, const QFont& font,
              Qt::Alignment alignment) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setGeometry(where);
  label->setFont(font);
  label->setAlignment(alignment);
  label->setTextFormat(Qt::PlainText);
  return label;
}

}  // namespace

void OpenWithDesktop(const QUrl& address) {
  // Nothing to do when it fails: no browser is not the About box's problem.
  QDesktopServices::openUrl(address);
}

AboutDialog::AboutDialog(QWidget* owner, LinkOpener open_link) : QDialog(owner) {
  using namespace about_layout;
  const AboutRects layout = LayoutAbout(DesignScale(*this).dpi());
  setWindowTitle(QString::fromUtf8(about_text::kCaption));
  setWindowIcon(ProgramIcon());
  setFixedSize(ToQRect(layout.client).size());

  Label(this, about_text::kProduct, ToQRect(layout.product),
        DesignFont(kProductFace, kProductPoints, true), Qt::AlignCenter);
  Label(this, about_text::kVersion, ToQRect(layout.version), ArialFont(kVersionPoints, true),
        Qt::AlignRight | Qt::AlignTop);
  Label(this, about_text::kCredit, ToQRect(layout.credit), ArialFont(kCreditPoints, true),
        Qt::AlignHCenter | Qt::AlignTop);
  // The icon drawn from its largest image, scaled down: a small one stretched would blur.
  QLabel* image = Label(this, "", ToQRect(layout.image), font(), Qt::AlignCenter);
  image->setPixmap(ProgramIcon().pixmap(image->size()));
  image->setScaledContents(true);

  // A button drawn as text: it takes the focus, Space and Enter press it, and a screen reader
  // names it by its text.
  link_ = new QPushButton(QString::fromUtf8(about_text::kLinkText), this);
  link_->setGeometry(ToQRect(layout.link));
  link_->setFont(ArialFont(kCreditPoints, true));
  link_->setFlat(true);
  link_->setCursor(Qt::PointingHandCursor);
  QPalette palette = link_->palette();
  palette.setColor(QPalette::ButtonText,
                   QColor(kLinkColour.red, kLinkColour.green, kLinkColour.blue));
  link_->setPalette(palette);
  link_->setFocus();
  const QUrl address(QString::fromUtf8(about_text::kMakerAddress));
  connect(link_, &QPushButton::clicked, this,
          [open_link = std::move(open_link), address] { open_link(address); });
}

void RunAboutBox(QWidget* owner, const LinkOpener& open_link) {
  AboutDialog box(owner, open_link);
  box.exec();
}

}  // namespace vellumo
