#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "change/change_screen.h"
#include "images/file_list.h"
#include "platform/platform.h"
#include "startup/state.h"

namespace vellumo {

// What the Location box shows for the settings: the source picture in file mode, else the
// source folder, each named as missing when the stored one no longer exists.
std::string LocationText(const Settings& settings);

// The settings window's image list: display names index for index with state.sImagePaths,
// always built whole from the current source.
class ImageList {
 public:
  ImageList(State& state, Platform& platform, ChangingForm& changing, MainView& main_view);

  // Empties the list and builds it again from the source.
  void Reset_List();
  // Fills the list according to iSourceType: 0 the source picture, 1 one folder, 2 the folder
  // tree, else nothing.
  void Build_List();
  void List_File();
  void List_Folder();
  // Appends the file list's pictures; with `progress` the search's label shows the folder.
  void Add_Files(bool progress);

  const std::vector<std::string>& Names() const { return names_; }
  const std::string& Caption() const { return caption_; }  // "Images (N)"
  const std::string& SourceText() const { return source_text_; }
  bool NextEnabled() const { return next_enabled_; }

  FileList& Files() { return files_; }
  State& state() { return state_; }
  Platform& platform() { return platform_; }
  ChangingForm& changing() { return changing_; }
  MainView& main_view() { return main_view_; }

 private:
  // Hands the names to the window's list box, all at once.
  void ShowNames();
  void ShowProgress();

  State& state_;
  Platform& platform_;
  ChangingForm& changing_;
  MainView& main_view_;
  FileList files_;
  // When the search's progress was last drawn: no more often than the screen shows frames.
  std::optional<std::chrono::steady_clock::time_point> progress_drawn_;
  std::vector<std::string> names_;
  std::string caption_ = "Images (0)";
  std::string source_text_;
  bool next_enabled_ = false;
};

}  // namespace vellumo
