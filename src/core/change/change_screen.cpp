#include "change/change_screen.h"

namespace vellumo {

int TwipsToPixels(int twips, int dpi) {
  constexpr int kTwipsPerInch = 1440;
  const int twips_per_pixel = dpi > 0 ? kTwipsPerInch / dpi : 0;
  return twips / (twips_per_pixel > 0 ? twips_per_pixel : 1);
}

ChangingForm::~ChangingForm() {
  if (view_) view_->Destroy();
}

void ChangingForm::Load() {
  if (view_) return;
  retired_.reset();
  view_ = platform_.views.CreateChangeScreen(*this);
  view_->SetFileName(file_name_);
}

void ChangingForm::Show() {
  Load();
  view_->Show();
}

void ChangingForm::ShowModal() {
  Load();
  view_->ShowModal();
}

void ChangingForm::SetFileName(const std::string& text) {
  Load();
  file_name_ = text;
  view_->SetFileName(text);
}

void ChangingForm::TriggerNextPic() {
  Load();
  const int width = TwipsToPixels(kFileNameLabelTwips, platform_.loop.ScreenDpi());
  SetFileName(view_->TruncatePath(state_.sCurrentFile, width));
  timer_armed_ = true;
  view_->StartTimer(kTriggerIntervalMs);
}

void ChangingForm::OnTimer() {
  if (!timer_armed_ || !view_) return;
  timer_armed_ = false;
  view_->StopTimer();
  last_change_ = Apply_Picture(state_.sCurrentFile, state_.settings, platform_);
  // Stored whatever the outcome, so a picture that fails is not retried at every logon.
  Store_Last_File(platform_.settings, state_.sCurrentFile);
  Close();
}

void ChangingForm::OnKeyPress(int char_code) {
  if (char_code == kEscape && state_.bBackgroundRun) platform_.loop.EndNow();
}

void ChangingForm::Close() {
  if (!view_ || closing_) return;
  closing_ = true;
  if (state_.settings.bFadeOut) {
    for (int alpha = 255; alpha >= 0; --alpha) {
      view_->SetTranslucency(alpha);
      platform_.loop.Yield();
    }
  }
  view_->StopTimer();
  timer_armed_ = false;
  view_->Destroy();
  retired_ = std::move(view_);
  closing_ = false;
}

}  // namespace vellumo
