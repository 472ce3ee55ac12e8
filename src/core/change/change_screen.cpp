#include "change/change_screen.h"

#include "change/selection.h"

namespace vellumo {
namespace {

// Why there was nothing to apply, in the user's terms.
std::string NoPictureReason(const Settings& settings) {
  if (settings.iSourceType == 0) {
    if (!settings.missing_source_file.empty())
      return "the source picture " + settings.missing_source_file + " no longer exists";
    return "no source picture is chosen";
  }
  if (settings.iSourceType != 1 && settings.iSourceType != 2)
    return "the source type " + std::to_string(settings.iSourceType) + " is not one Vellumo knows";
  if (!settings.missing_source_folder.empty())
    return "the source folder " + settings.missing_source_folder + " no longer exists";
  if (settings.sSourceFolder.empty()) return "no source folder is chosen";
  return "no pictures (BMP, JPEG, GIF) in " + settings.sSourceFolder;
}

}  // namespace

int TwipsToPixels(int twips, int dpi) {
  constexpr int kTwipsPerInch = 1440;
  const int twips_per_pixel = dpi > 0 ? kTwipsPerInch / dpi : 0;
  return twips / (twips_per_pixel > 0 ? twips_per_pixel : 1);
}

int FadeAlpha(std::chrono::steady_clock::duration elapsed) {
  const auto steps = elapsed * 256 / kFadeTime;
  return steps >= 255 ? 0 : 255 - static_cast<int>(steps);
}

DeviceRect ToDevice(const TwipsRect& twips, int dpi) {
  const int left = TwipsToPixels(twips.left, dpi);
  const int top = TwipsToPixels(twips.top, dpi);
  return {left, top, left + TwipsToPixels(twips.width, dpi),
          top + TwipsToPixels(twips.height, dpi)};
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

void ChangingForm::TriggerNextPic(std::optional<StandIns> stand_ins) {
  Load();
  stand_ins_ = std::move(stand_ins);
  ShowCurrentFile();
  timer_armed_ = true;
  view_->StartTimer(kTriggerIntervalMs);
}

void ChangingForm::ShowCurrentFile() {
  const int width = TwipsToPixels(kFileNameLabelTwips, platform_.loop.ScreenDpi());
  SetFileName(view_->TruncatePath(state_.sCurrentFile, width));
}

void ChangingForm::OnTimer() {
  if (!timer_armed_ || !view_) return;
  timer_armed_ = false;
  view_->StopTimer();
  // Apply_Picture yields once, with the new bitmap already in place: an Esc then lets the
  // layout, the wallpaper and sLastFile follow, or the next logon would show the new bitmap in
  // the old layout.
  changing_ = true;
  last_change_ = ApplyFirstUsable();
  StoreLastFile();
  changing_ = false;
  TellOutcome();
  if (end_after_change_) platform_.loop.EndNow(ExitCode(last_change_));
  Close();
}

ChangeResult ChangingForm::ApplyFirstUsable() {
  if (state_.sCurrentFile.empty()) {
    return {ChangeOutcome::kNoPicture, {}, NoPictureReason(state_.settings), "no picture"};
  }
  ChangeResult result = Apply_Picture(state_.sCurrentFile, state_.settings, platform_);
  if (result.outcome != ChangeOutcome::kPictureFailed || !stand_ins_) return result;
  return TryStandIns(std::move(result));
}

// One unusable picture must not spoil the change: the others are tried in turn, each once,
// until one is applied, something other than the picture fails, or Esc asks to end.
ChangeResult ChangingForm::TryStandIns(ChangeResult result) {
  Settings& settings = state_.settings;
  std::mt19937_64 generator = SeededGenerator();
  Fallbacks others(state_.sImagePaths, state_.sCurrentFile, stand_ins_->shown_before,
                   settings.bRandom, settings.bRepeats, generator);
  int skipped = 0;
  for (std::string next = others.Next(); !next.empty() && !end_after_change_;
       next = others.Next()) {
    platform_.report.Say("skipped " + state_.sCurrentFile + ": " + result.reason);
    ++skipped;
    state_.sCurrentFile = settings.sLastFile = next;
    ShowCurrentFile();
    result = Apply_Picture(state_.sCurrentFile, settings, platform_);
    if (result.outcome != ChangeOutcome::kPictureFailed) return result;
  }
  if (skipped > 0) result.detail += "; no other picture could be used";
  return result;
}

void ChangingForm::StoreLastFile() {
  // With nothing chosen (the source folder not mounted yet) the last picture stays, so list
  // order goes on from it once the folder is back.
  if (state_.sCurrentFile.empty()) return;
  // The picture applied, or the last one tried, so a picture that fails is not retried first
  // at every logon.
  if (!Store_Last_File(platform_.settings, state_.sCurrentFile))
    last_change_.last_file_not_stored = true;
}

void ChangingForm::TellOutcome() {
  if (last_change_.outcome != ChangeOutcome::kApplied) platform_.report.Say(last_change_.detail);
  if (!last_change_.last_file_not_stored) return;
  const std::string where = platform_.settings.Where();
  platform_.report.Say("the last picture could not be stored" +
                       (where.empty() ? std::string() : " in " + where));
}

void ChangingForm::OnKeyPress(int char_code) {
  if (char_code != kEscape || !state_.bBackgroundRun) return;
  if (changing_) {
    end_after_change_ = true;
    return;
  }
  // Before the change, nothing has changed; after it (while fading), the change stands.
  if (last_change_.outcome == ChangeOutcome::kNotRun) {
    last_change_ = {ChangeOutcome::kCancelled, {}, "cancelled", "cancelled"};
    TellOutcome();
  }
  platform_.loop.EndNow(ExitCode(last_change_));
}

// The fade's 256 steps from opaque to clear are paced by the clock, one frame at a time, each
// frame showing the step its time has reached: a loop that merely turns 256 times is over
// before anybody sees it on today's machines, and the name on the notice could not be read.
void ChangingForm::FadeOut() {
  EventLoop& loop = platform_.loop;
  const auto start = loop.Now();
  for (int alpha = 255;;) {
    view_->SetTranslucency(alpha);
    if (alpha == 0) return;
    loop.Wait(kFrame);
    alpha = FadeAlpha(loop.Now() - start);
  }
}

void ChangingForm::Close() {
  if (!view_ || closing_) return;
  closing_ = true;
  if (state_.settings.bFadeOut) FadeOut();
  view_->StopTimer();
  timer_armed_ = false;
  view_->Destroy();
  retired_ = std::move(view_);
  closing_ = false;
}

}  // namespace vellumo
