#pragma once

#include <QDialog>
#include <optional>

#include "ui/main_layout.h"
#include "ui/ratio_form.h"

class QLabel;
class QSlider;

namespace vellumo {

class DesignScale;

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
  void AddSection(const DesignScale& scale, int number, const Box& frame, int text_height,
                  const char* title, const char* text);
  QSlider* AddSlider(const DesignScale& scale, const SliderSpec& spec, const Box& section,
                     const Box& slider, const Box& label, const char* name);

  QFont text_font_;
  QSlider* size_slider_ = nullptr;
  QSlider* ratio_slider_ = nullptr;
};

// Shows the dialog modally over `owner`: the thresholds chosen on OK, nothing otherwise.
std::optional<AutoThresholds> RunRatioDialog(QWidget* owner, AutoThresholds current);

}  // namespace vellumo
