#include "ui/main_form.h"

#include <algorithm>

#include "change/selection.h"
#include "ui/main_layout.h"
#include "ui/toolbar.h"

namespace vellumo {
namespace {

const std::string& Either(const std::string& first, const std::string& second) {
  return first.empty() ? second : first;
}

}  // namespace

MainForm::MainForm(State& state, Platform& platform, ChangingForm& changing)
    : state_(state),
      platform_(platform),
      changing_(changing),
      view_(platform.views.CreateMain(*this)),
      images_(state, platform, changing, *view_),
      random_(SeededGenerator()) {}

void MainForm::Loading() {
  state_.sImagePaths.clear();
  Load_Settings(platform_.settings, platform_.files, platform_.windows_path, state_.settings);
  ShowSettings();
  images_.Build_List();
  view_->SetSourceText(LocationText(state_.settings));
}

void MainForm::ShowSettings() {
  const Settings& settings = state_.settings;
  if (settings.bRandom) Press_Button(toolbar::kRandom);
  if (settings.bRepeats) Press_Button(toolbar::kRepeats);
  if (settings.bFadeOut) Press_Button(toolbar::kFadeOut);
  startup_pressed_ = platform_.startup.Is_Startup_Set();
  if (startup_pressed_) Press_Button(toolbar::kStartup);
  // A background run shows no menu, and asking the scheduler costs it a connection.
  if (!state_.bBackgroundRun) {
    schedule_unavailable_ = platform_.schedule.Unavailable();
    ShowStartupMenu();
  }
  // A code edited by hand outside the list shows the nearest row; the stored code stays until
  // the user picks a row.
  const int rows = static_cast<int>(main_text::kDisplayModes.size());
  view_->SetDisplayRow(std::clamp<int>(settings.iDisplayType, 0, rows - 1));
  view_->SetSourceImage(SourceImage(settings.iSourceType));
}

void MainForm::Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  Save_Settings(platform_.settings, state_.settings);
  view_->Destroy();
}

void MainForm::Next_Picture() {
  auto& settings = state_.settings;
  ChangingForm::StandIns stand_ins{settings.sLastFile};
  state_.sCurrentFile = settings.bRandom ? Pick_Random(state_.sImagePaths, settings.sLastFile,
                                                       settings.bRepeats, random_)
                                         : Pick_Sequential(state_.sImagePaths, settings.sLastFile);
  changing_.TriggerNextPic(std::move(stand_ins));
  if (!state_.bBackgroundRun) ShowChange();
  platform_.loop.Yield();
}

// The change shown modally; when it failed, the preview's notice says why, where the user looks.
void MainForm::ShowChange() {
  changing_.ShowModal();
  if (unloaded_) return;
  const ChangeResult& result = changing_.LastChange();
  if (result.outcome == ChangeOutcome::kApplied) {
    HideChangeFailure();
    return;
  }
  view_->ShowPicture(false);
  view_->SetLoadingText(NotChangedText(result.reason));
  view_->ShowLoading(true);
  failure_shown_ = true;
  // The notice covers the picture: a click on the same row previews it again.
  sPreviewPath.clear();
}

// A failure said in the preview's place stands until the next change, preview or list.
void MainForm::HideChangeFailure() {
  if (!failure_shown_) return;
  failure_shown_ = false;
  view_->ShowLoading(false);
}

void MainForm::OnToolbarClick(int index, bool pressed) {
  Settings& settings = state_.settings;
  switch (index) {
    case toolbar::kSource:
      settings.iSourceType = Next_Source_Type(settings.iSourceType);
      view_->SetSourceImage(SourceImage(settings.iSourceType));
      ResetList();
      break;
    // The button's own state, however it was pressed (a click, a key, a screen reader), so the
    // two never disagree.
    case toolbar::kRandom:
      settings.bRandom = pressed;
      break;
    case toolbar::kRepeats:
      settings.bRepeats = pressed;
      break;
    case toolbar::kFadeOut:
      settings.bFadeOut = pressed;
      break;
    case toolbar::kMakeFile:
      view_->ShowMessage(main_text::kMakeFile, main_text::kMessageTitle);
      break;
    case toolbar::kStartup:
      OnStartup(pressed);
      break;
    case toolbar::kAbout:
      view_->ShowAbout();
      break;
    default:
      break;
  }
}

void MainForm::OnSourceMenu(int entry) {
  if (entry < 1 || entry > static_cast<int>(kSourceMenu.size())) return;
  view_->SetSourceImage(entry);
  state_.settings.iSourceType = static_cast<int16_t>(entry - 1);
  ResetList();
}

void MainForm::ShowStartupMenu() {
  StartupMenuState menu;
  menu.checked = StartupMenuEntryOf(Interval());
  menu.intervals_enabled = schedule_unavailable_.empty();
  menu.reason = schedule_unavailable_;
  view_->SetStartupMenu(menu);
}

int16_t MainForm::Interval() const {
  return schedule_unavailable_.empty() ? state_.settings.iInterval : int16_t{0};
}

// Pressed, the change comes at logon and at the chosen interval; released, at neither. The
// chosen interval stays for the next press.
void MainForm::OnStartup(bool pressed) {
  startup_pressed_ = pressed;
  platform_.startup.Set_Startup(pressed);
  if (!pressed) {
    platform_.schedule.Remove();
    return;
  }
  if (Interval() > 0) Schedule(Interval());
}

// Every entry says when the change comes, so choosing one with Startup released presses it.
void MainForm::OnStartupMenu(int entry) {
  if (entry < 1 || entry > static_cast<int>(kStartupMenu.size())) return;
  const int16_t minutes = kStartupMenu[static_cast<size_t>(entry - 1)].minutes;
  if (minutes > 0 && !schedule_unavailable_.empty()) return;  // a disabled entry
  if (!startup_pressed_) {
    startup_pressed_ = true;
    Press_Button(toolbar::kStartup);
    platform_.startup.Set_Startup(true);
  }
  Schedule(minutes);
}

// A schedule that could not be set is removed whole, and the choice falls back to logon only:
// the stored choice and the system's schedule never disagree.
void MainForm::Schedule(int16_t minutes) {
  std::string failure = minutes > 0 ? platform_.schedule.Set(minutes) : std::string();
  if (minutes == 0 || !failure.empty()) platform_.schedule.Remove();
  if (!failure.empty()) {
    minutes = 0;
    view_->ShowMessage(main_text::kScheduleFailed + failure, main_text::kMessageTitle);
  }
  Settings& settings = state_.settings;
  if (settings.iInterval != minutes) {
    settings.iInterval = minutes;
    platform_.settings.Write("iInterval", IntegerText(minutes));
  }
  ShowStartupMenu();
}

void MainForm::OnBrowse() {
  Settings& settings = state_.settings;
  if (settings.iSourceType == 0) {
    const std::string file = view_->BrowseForPicture(
        main_text::kBrowsePicturePrompt, Either(settings.sSourceFile, settings.sSourceFolder));
    if (file.empty()) return;
    settings.sSourceFile = file;
    settings.missing_source_file.clear();
    platform_.settings.Write("sSourceFile", file);
    ResetList();
    return;
  }
  const std::string folder = view_->BrowseForFolder(
      main_text::kBrowsePrompt, Either(settings.sSourceFolder, settings.missing_source_folder));
  if (folder.empty()) return;
  settings.sSourceFolder = folder;
  settings.missing_source_folder.clear();
  platform_.settings.Write("sSourceFolder", folder);
  ResetList();
}

void MainForm::ResetList() {
  HideChangeFailure();
  selected_row_ = -1;
  images_.Reset_List();
  view_->ClearPicture();
  view_->SetPreviewCaption(kPreviewCaption);
}

const std::string* MainForm::PathAt(int row) const {
  if (row < 0 || static_cast<size_t>(row) >= state_.sImagePaths.size()) return nullptr;
  return &state_.sImagePaths[static_cast<size_t>(row)];
}

void MainForm::OnImageSelected(int row) {
  selected_row_ = row;
  if (!preview_on_) return;
  const std::string* path = PathAt(row);
  if (!path || *path == sPreviewPath) return;
  sPreviewPath = *path;
  Load_Preview(sPreviewPath);
}

void MainForm::OnImageDoubleClicked(int row) {
  const std::string* path = PathAt(row);
  if (!path) return;
  state_.sCurrentFile = *path;
  state_.settings.sLastFile = *path;
  changing_.TriggerNextPic();
  ShowChange();
  platform_.loop.Yield();
}

std::string MainForm::OnImageTip(int row) {
  const std::string* path = PathAt(row);
  return path ? *path : std::string();
}

std::string MainForm::OnPreviewTip() {
  const std::string* path = PathAt(selected_row_);
  return preview_on_ && path ? *path : std::string();
}

void MainForm::OnPreviewToggled(bool checked) {
  preview_on_ = checked;
  if (!checked) view_->ClearPicture();
  view_->SetPreviewCaption(kPreviewCaption);
  if (!checked) return;
  if (const std::string* path = PathAt(selected_row_)) Load_Preview(*path);
}

// Takes the path by value: the list may be rebuilt while the notice is painted.
void MainForm::Load_Preview(std::string path) {
  failure_shown_ = false;
  view_->ShowPicture(false);
  view_->SetLoadingText(kLoadingText);
  view_->ShowLoading(true);
  platform_.loop.Yield();
  if (unloaded_) return;
  const auto size = view_->LoadPicture(path);
  if (!size) {
    view_->SetLoadingText(kInvalidText);
    return;
  }
  view_->ShowLoading(false);
  view_->SetPreviewCaption(PreviewCaption(*size));
  view_->PlacePicture(FitPreview(*size, main_layout::kPreviewArea));
  view_->ShowPicture(true);
}

void MainForm::OnDisplayModeChosen(int row) {
  if (row < 0 || row >= static_cast<int>(main_text::kDisplayModes.size())) return;
  state_.settings.iDisplayType = static_cast<int16_t>(row);
}

void MainForm::OnDisplaySettings() {
  Settings& settings = state_.settings;
  const auto chosen = view_->EditThresholds({settings.iAutoSize, settings.iAutoRatio});
  if (!chosen) return;
  settings.iAutoSize = chosen->size;
  settings.iAutoRatio = chosen->ratio;
}

// The settings are stored as closing the window would store them; the window itself is left to
// the system, which may still be running one of its dialogs.
void MainForm::OnEndSession() {
  if (unloaded_) return;
  Save_Settings(platform_.settings, state_.settings);
}

void MainForm::OnSave() {
  changing_.Close();
  Unload();
}

}  // namespace vellumo
