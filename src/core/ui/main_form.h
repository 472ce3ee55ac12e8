#pragma once

#include <memory>
#include <random>
#include <string>

#include "change/change_screen.h"
#include "images/image_list.h"
#include "platform/platform.h"
#include "startup/state.h"
#include "ui/main_view.h"

namespace vellumo {

// The settings window frmMain's logic: in an interactive run the window the user works in; in a
// background run it is loaded for its settings, image list and picture selection, and unloaded
// without ever being shown.
class MainForm : public MainEvents {
 public:
  MainForm(State& state, Platform& platform, ChangingForm& changing);

  // The load sequence: empties the list, reads the settings into the controls, builds the list
  // from the stored source and shows the source folder.
  void Loading();
  void Show() { view_->Show(); }
  // Stores the seven settings the window edits and destroys the window. Once only: a window
  // closed twice stores once.
  void Unload();
  bool IsUnloaded() const { return unloaded_; }
  // Chooses the next picture and arms the change screen; in an interactive run shows it modally
  // until the change is done.
  void Next_Picture();

  ImageList& Images() { return images_; }
  const std::string& PreviewPath() const { return sPreviewPath; }

  void OnToolbarClick(int index, bool pressed) override;
  void OnSourceMenu(int entry) override;
  void OnStartupMenu(int entry) override;
  void OnBrowse() override;
  void OnImageSelected(int row) override;
  void OnImageDoubleClicked(int row) override;
  std::string OnImageTip(int row) override;
  std::string OnPreviewTip() override;
  void OnPreviewToggled(bool checked) override;
  void OnDisplayModeChosen(int row) override;
  void OnDisplaySettings() override;
  void OnNext() override { Next_Picture(); }
  void OnSave() override;
  void OnCancel() override { Unload(); }
  void OnEndSession() override;

 private:
  // Sets a toolbar button's pressed state without running its command.
  void Press_Button(int index) { view_->SetButtonPressed(index, true); }
  void ShowSettings();
  void ShowStartupMenu();
  void OnStartup(bool pressed);
  // The interval the schedule follows: the stored one, or none where the system cannot start
  // the program every so often.
  int16_t Interval() const;
  // Sets the system's schedule to `minutes` (0 removes it) and stores what was set.
  void Schedule(int16_t minutes);
  void ShowChange();
  void HideChangeFailure();
  // Rebuilds the list after a change of source and clears the preview.
  void ResetList();
  void Load_Preview(std::string path);
  // The path of a list row, or null for no row.
  const std::string* PathAt(int row) const;

  State& state_;
  Platform& platform_;
  ChangingForm& changing_;
  std::unique_ptr<MainView> view_;
  ImageList images_;
  std::mt19937_64 random_;
  std::string sPreviewPath;  // the path a list click last previewed
  int selected_row_ = -1;
  bool preview_on_ = true;
  bool unloaded_ = false;
  bool failure_shown_ = false;  // the preview's notice says a change failed
  bool startup_pressed_ = false;
  std::string schedule_unavailable_;  // why the system cannot schedule changes, if it cannot
};

}  // namespace vellumo
