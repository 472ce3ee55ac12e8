#include "ratio_dialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <vector>

#include "design_scale.h"
#include "pictures.h"
#include "ui/ratio_layout.h"

namespace vellumo {
namespace {

QRect Rect(const DeviceRect& rect) {
  return ToQRect(rect);
}

// A text and the box it must fit in.
struct Wrapped {
  QString text;
  QRect box;
};

std::vector<Wrapped> WrappedTexts(const RatioRects& layout) {
  using namespace ratio_text;
  const auto& s = layout.sections;
  return {{QString::fromUtf8(kSizeText), Rect(s[0].text)},
          {QString::fromUtf8(kRatioText), Rect(s[1].text)},
          {QString::fromUtf8(kCenterText), Rect(s[2].text)},
          {QString::fromStdString(SliderLabel(kSizeSlider, kSizeSlider.maximum)),
           Rect(layout.size_label)},
          {QString::fromStdString(SliderLabel(kRatioSlider, kRatioSlider.maximum)),
           Rect(layout.ratio_label)}};
}

bool AllFit(const QFont& font, const std::vector<Wrapped>& texts) {
  const QFontMetrics metrics(font);
  for (const Wrapped& t : texts) {
    const QRect need =
        metrics.boundingRect(QRect(0, 0, t.box.width(), 10000), Qt::TextWordWrap, t.text);
    if (need.width() > t.box.width() || need.height() > t.box.height()) return false;
  }
  return true;
}

// The system's font, a little smaller where a text would be cut off.
QFont TextFont(const RatioRects& layout) {
  QFont font = QApplication::font();
  const auto texts = WrappedTexts(layout);
  font.setPointSizeF(StepDownFont(font.pointSizeF(), 0.25, [&](double size) {
    QFont smaller = font;
    smaller.setPointSizeF(size);
    return AllFit(smaller, texts);
  }));
  return font;
}

QLabel* Text(QWidget* parent, const QString& text, const QRect& where, const QFont& font) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(where);
  label->setFont(font);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

}  // namespace

// Made in tab order: the size slider, the ratio slider, OK, Cancel.
RatioDialog::RatioDialog(QWidget* owner, AutoThresholds current) : QDialog(owner) {
  using namespace ratio_text;
  const RatioRects layout = LayoutRatio(DesignScale(*this).dpi());
  text_font_ = TextFont(layout);
  setWindowTitle(QString::fromUtf8(kCaption));
  setWindowIcon(RatioIcon());
  setFixedSize(Rect(layout.client).size());

  const auto& s = layout.sections;
  AddSection(s[0], 1, kSizeTitle, kSizeText);
  size_slider_ = AddSlider(kSizeSlider, layout.size_slider, layout.size_label, kSizeTitle);
  AddSection(s[1], 2, kRatioTitle, kRatioText);
  ratio_slider_ = AddSlider(kRatioSlider, layout.ratio_slider, layout.ratio_label, kRatioTitle);
  AddSection(s[2], 3, kCenterTitle, kCenterText);
  size_slider_->setValue(SliderStart(kSizeSlider, current.size));
  ratio_slider_->setValue(SliderStart(kRatioSlider, current.ratio));

  auto* ok = new QPushButton(QString::fromUtf8(kOk), this);
  ok->setGeometry(Rect(layout.ok));
  ok->setFont(text_font_);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* cancel = new QPushButton(QString::fromUtf8(kCancel), this);
  cancel->setGeometry(Rect(layout.cancel));
  cancel->setFont(text_font_);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void RatioDialog::AddSection(const RatioRects::Section& place, int number, const char* title,
                             const char* text) {
  auto* box = new QGroupBox(QString::fromUtf8(title), this);
  box->setGeometry(Rect(place.frame));
  box->setFont(text_font_);
  QLabel* label = Text(this, QString::number(number), Rect(place.digit),
                       ArialFont(ratio_layout::kDigitPoints, true));
  label->setAccessibleName(QString::fromUtf8(title));
  Text(this, QString::fromUtf8(text), Rect(place.text), text_font_);
}

QSlider* RatioDialog::AddSlider(const SliderSpec& spec, const DeviceRect& place,
                                const DeviceRect& label_place, const char* name) {
  auto* slider = new QSlider(Qt::Horizontal, this);
  slider->setGeometry(Rect(place));
  slider->setAccessibleName(QString::fromUtf8(name));
  slider->setRange(spec.minimum, spec.maximum);
  slider->setSingleStep(spec.small_step);
  slider->setPageStep(spec.large_step);
  slider->setTickPosition(QSlider::TicksBelow);
  slider->setTickInterval(spec.tick_every);
  slider->setFocusPolicy(Qt::StrongFocus);

  QLabel* label = Text(this, QString(), Rect(label_place), text_font_);
  label->setAlignment(Qt::AlignRight | Qt::AlignTop);
  label->setWordWrap(false);
  // Every move shows the value: a drag, a key, a click beside the thumb, the start value.
  connect(slider, &QSlider::valueChanged, label, [label, &spec](int value) {
    label->setText(QString::fromStdString(SliderLabel(spec, value)));
  });
  label->setText(QString::fromStdString(SliderLabel(spec, slider->value())));
  return slider;
}

AutoThresholds RatioDialog::Chosen() const {
  return {static_cast<int16_t>(size_slider_->value()),
          static_cast<int16_t>(ratio_slider_->value())};
}

std::optional<AutoThresholds> RunRatioDialog(QWidget* owner, AutoThresholds current) {
  RatioDialog dialog(owner, current);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Chosen();
}

}  // namespace vellumo
