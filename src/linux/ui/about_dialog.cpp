#include "about_dialog.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>

#include "design_scale.h"
#include "pictures.h"
#include "ui/about.h"

namespace vellumo {
namespace {

constexpr int kProductPoints = 2175;  // hundredths of a point
constexpr int kVersionPoints = 900;
constexpr int kCreditPoints = 1125;  // the link's size too
constexpr QColor kLinkColour(0, 0, 192);

constexpr int kWidth = 242;
constexpr int kHeight = 163;
constexpr Box kProduct{6, 0, 209, 79};
constexpr Box kVersion{198, 63, 35, 13};
constexpr Box kCredit{78, 99, 170, 25};
constexpr Box kLink{99, 126, 131, 19};
constexpr Box kImage{9, 87, 68, 68};

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
  const DesignScale scale(*this);
  setWindowTitle(QString::fromUtf8(about_text::kCaption));
  setWindowIcon(ProgramIcon());
  setFixedSize(scale(kWidth), scale(kHeight));

  Label(this, about_text::kProduct, scale(kProduct), DesignFont("Tahoma", kProductPoints, true),
        Qt::AlignCenter);
  Label(this, about_text::kVersion, scale(kVersion), ArialFont(kVersionPoints, true),
        Qt::AlignRight | Qt::AlignTop);
  Label(this, about_text::kCredit, scale(kCredit), ArialFont(kCreditPoints, true),
        Qt::AlignHCenter | Qt::AlignTop);
  // The icon drawn from its largest image, scaled down: a small one stretched would blur.
  QLabel* image = Label(this, "", scale(kImage), font(), Qt::AlignCenter);
  image->setPixmap(ProgramIcon().pixmap(image->size()));
  image->setScaledContents(true);

  // A button drawn as text: it takes the focus, Space and Enter press it, and a screen reader
  // names it by its text.
  link_ = new QPushButton(QString::fromUtf8(about_text::kLinkText), this);
  link_->setGeometry(scale(kLink));
  link_->setFont(ArialFont(kCreditPoints, true));
  link_->setFlat(true);
  link_->setCursor(Qt::PointingHandCursor);
  QPalette palette = link_->palette();
  palette.setColor(QPalette::ButtonText, kLinkColour);
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
