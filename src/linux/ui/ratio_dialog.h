#pragma once

#include <QDialog>
#include <optional>

#include "ui/ratio_form.h"
#include "ui/ratio_layout.h"

class QLabel;
class QSlider;

namespace vellumo {

// frmRatio, the automatic display mode's dialog: two sliders whose labels follow the thumbs,
// and OK / Cancel. Enter presses OK; Esc and the close box cancel.
class RatioDialog : public QDialog {
  Q_OBJECT

 public:
  RatioDialog(QWidget* owner, AutoThresholds current);

  // The sliders' values; what OK hands back.
  AutoThresholds Chosen() const;
  QSlider& size_slider() const { return *size_slider_; }
  QSlider& ratio_slider() const { return *ratio_slider_; }

 private:
  void AddSection(const RatioRects::Section& place, int number, const char* title,
                  const char* text);
  // The slider and the label that follows its thumb.
  QSlider* AddSlider(const SliderSpec& spec, const DeviceRect& place, const DeviceRect& label_place,
                     const char* name);

  QFont text_font_;
  QSlider* size_slider_ = nullptr;
  QSlider* ratio_slider_ = nullptr;
};

// Shows the dialog modally over `owner`: the thresholds chosen on OK, nothing otherwise.
std::optional<AutoThresholds> RunRatioDialog(QWidget* owner, AutoThresholds current);

}  // namespace vellumo
