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
  // Apply_Picture yields once, with the new bitmap already in place: an Esc then lets the
  // layout, the wallpaper and sLastFile follow, or the next logon would show the new bitmap in
  // the old layout.
  changing_ = true;
  last_change_ = Apply_Picture(state_.sCurrentFile, state_.settings, platform_);
  StoreLastFile();
  changing_ = false;
  if (end_after_change_) platform_.loop.EndNow();
  Close();
}

void ChangingForm::StoreLastFile() {
  // With nothing chosen (the source folder not mounted yet) the last picture stays, so list
  // order goes on from it once the folder is back.
  if (state_.sCurrentFile.empty()) return;
  // Stored whatever the outcome, so a picture that fails is not retried at every logon.
  if (!Store_Last_File(platform_.settings, state_.sCurrentFile))
    last_change_.last_file_not_stored = true;
}

void ChangingForm::OnKeyPress(int char_code) {
  if (char_code != kEscape || !state_.bBackgroundRun) return;
  if (changing_) {
    end_after_change_ = true;
    return;
  }
  platform_.loop.EndNow();
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
