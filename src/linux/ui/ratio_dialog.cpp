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

namespace vellumo {
namespace {

constexpr int kDigitPoints = 3600;  // hundredths of a point
constexpr int kWidth = 305;
constexpr int kHeight = 316;

// The three sections: frames in the dialog, their contents relative to the frame.
constexpr Box kSizeFrame{63, 6, 238, 94};
constexpr Box kRatioFrame{63, 105, 238, 112};
constexpr Box kCenterFrame{63, 222, 238, 58};
constexpr int kDigitLeft = 3;
constexpr int kDigitWidth = 52;
constexpr int kDigitHeight = 55;
constexpr Box kSizeSliderBox{6, 54, 163, 34};
constexpr Box kSizeLabelBox{171, 66, 55, 19};
constexpr Box kRatioSliderBox{9, 69, 157, 34};
constexpr Box kRatioLabelBox{168, 81, 58, 19};
constexpr Box kOkBox{90, 288, 103, 25};
constexpr Box kCancelBox{198, 288, 103, 25};

Box TextBox(int height) {
  return Box{15, 21, 211, height};
}

// A text and the box it must fit in, at 96 dpi.
struct Wrapped {
  QString text;
  Box box;
};

std::vector<Wrapped> WrappedTexts() {
  using namespace ratio_text;
  return {
      {QString::fromUtf8(kSizeText), TextBox(31)},
      {QString::fromUtf8(kRatioText), TextBox(43)},
      {QString::fromUtf8(kCenterText), TextBox(31)},
      {QString::fromStdString(SliderLabel(kSizeSlider, kSizeSlider.maximum)), kSizeLabelBox},
      {QString::fromStdString(SliderLabel(kRatioSlider, kRatioSlider.maximum)), kRatioLabelBox}};
}

bool AllFit(const QFont& font, const DesignScale& scale, const std::vector<Wrapped>& texts) {
  const QFontMetrics metrics(font);
  for (const Wrapped& t : texts) {
    const QRect box = scale(t.box);
    const QRect need =
        metrics.boundingRect(QRect(0, 0, box.width(), 10000), Qt::TextWordWrap, t.text);
    if (need.width() > box.width() || need.height() > box.height()) return false;
  }
  return true;
}

// The system's font, made a little smaller while a text would be cut off: the layout is fixed,
// and the system's font may be wider than the one it was drawn for. Three quarters of the size
// at the least.
QFont TextFont(const DesignScale& scale) {
  QFont font = QApplication::font();
  const double smallest = font.pointSizeF() * 3 / 4;
  const auto texts = WrappedTexts();
  while (font.pointSizeF() > smallest && !AllFit(font, scale, texts))
    font.setPointSizeF(font.pointSizeF() - 0.25);
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
  const DesignScale scale(*this);
  text_font_ = TextFont(scale);
  setWindowTitle(QString::fromUtf8(kCaption));
  setWindowIcon(RatioIcon());
  setFixedSize(scale(kWidth), scale(kHeight));

  AddSection(scale, 1, kSizeFrame, 31, kSizeTitle, kSizeText);
  size_slider_ =
      AddSlider(scale, kSizeSlider, kSizeFrame, kSizeSliderBox, kSizeLabelBox, kSizeTitle);
  AddSection(scale, 2, kRatioFrame, 43, kRatioTitle, kRatioText);
  ratio_slider_ =
      AddSlider(scale, kRatioSlider, kRatioFrame, kRatioSliderBox, kRatioLabelBox, kRatioTitle);
  AddSection(scale, 3, kCenterFrame, 31, kCenterTitle, kCenterText);
  size_slider_->setValue(SliderStart(kSizeSlider, current.size));
  ratio_slider_->setValue(SliderStart(kRatioSlider, current.ratio));

  auto* ok = new QPushButton(QString::fromUtf8(kOk), this);
  ok->setGeometry(scale(kOkBox));
  ok->setFont(text_font_);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* cancel = new QPushButton(QString::fromUtf8(kCancel), this);
  cancel->setGeometry(scale(kCancelBox));
  cancel->setFont(text_font_);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void RatioDialog::AddSection(const DesignScale& scale, int number, const Box& frame,
                             int text_height, const char* title, const char* text) {
  auto* box = new QGroupBox(QString::fromUtf8(title), this);
  box->setGeometry(scale(frame));
  box->setFont(text_font_);
  const Box digit{kDigitLeft, frame.top, kDigitWidth, kDigitHeight};
  QLabel* label = Text(this, QString::number(number), scale(digit), ArialFont(kDigitPoints, true));
  label->setAccessibleName(QString::fromUtf8(title));
  Text(this, QString::fromUtf8(text), scale(TextBox(text_height), Corner(frame)), text_font_);
}

// The slider and its label lie in the frame `section`.
QSlider* RatioDialog::AddSlider(const DesignScale& scale, const SliderSpec& spec,
                                const Box& section, const Box& slider_box, const Box& label_box,
                                const char* name) {
  const QPoint frame = Corner(section);
  auto* slider = new QSlider(Qt::Horizontal, this);
  slider->setGeometry(scale(slider_box, frame));
  slider->setAccessibleName(QString::fromUtf8(name));
  slider->setRange(spec.minimum, spec.maximum);
  slider->setSingleStep(spec.small_step);
  slider->setPageStep(spec.large_step);
  slider->setTickPosition(QSlider::TicksBelow);
  slider->setTickInterval(spec.tick_every);
  slider->setFocusPolicy(Qt::StrongFocus);

  QLabel* label = Text(this, QString(), scale(label_box, frame), text_font_);
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
