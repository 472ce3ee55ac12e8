#pragma once

#include <string>
#include <vector>

#include "ui/main_view.h"

namespace vellumo {

// Writes down every event a settings window's view reports, one line each, in the same words
// for every view: "toolbar 4 pressed", "toolbar 10 released", "menu 2", "double-click 1".
struct RecordedEvents : MainEvents {
  void OnToolbarClick(int index, bool pressed) override;
  void OnSourceMenu(int entry) override;
  void OnStartupMenu(int entry) override;
  void OnBrowse() override;
  void OnImageSelected(int row) override;
  void OnImageDoubleClicked(int row) override;
  // Answers "row <row>".
  std::string OnImageTip(int row) override;
  // Answers `preview_tip`.
  std::string OnPreviewTip() override;
  void OnPreviewToggled(bool checked) override;
  void OnDisplayModeChosen(int row) override;
  void OnDisplaySettings() override;
  void OnNext() override;
  void OnSave() override;
  void OnCancel() override;
  void OnEndSession() override;

  std::vector<std::string> lines;
  std::string preview_tip;
};

}  // namespace vellumo
