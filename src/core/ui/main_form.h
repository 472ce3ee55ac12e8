#pragma once

#include <memory>
#include <random>

#include "change/change_screen.h"
#include "images/image_list.h"
#include "platform/platform.h"
#include "startup/state.h"

namespace vellumo {

// The settings window frmMain: in a background run it is loaded for its settings, image list
// and picture selection, and unloaded without ever being shown.
class MainForm {
 public:
  MainForm(State& state, Platform& platform, ChangingForm& changing);

  // Empties the list, reads the settings and builds the list from the stored source.
  void Loading();
  // Stores the seven settings the window edits.
  void Unload();
  // Chooses the next picture and arms the change screen; in an interactive run shows it modally
  // until the change is done.
  void Next_Picture();

  ImageList& Images() { return images_; }

 private:
  State& state_;
  Platform& platform_;
  ChangingForm& changing_;
  std::unique_ptr<MainView> view_;
  ImageList images_;
  std::mt19937_64 random_;
};

}  // namespace vellumo
