#include "ui/main_form.h"

#include "change/selection.h"

namespace vellumo {

MainForm::MainForm(State& state, Platform& platform, ChangingForm& changing)
    : state_(state),
      platform_(platform),
      changing_(changing),
      view_(platform.views.CreateMain()),
      images_(state, platform, changing, *view_),
      random_(SeededGenerator()) {}

void MainForm::Loading() {
  state_.sImagePaths.clear();
  Load_Settings(platform_.settings, platform_.files, platform_.windows_path, state_.settings);
  images_.Build_List();
}

void MainForm::Unload() {
  Save_Settings(platform_.settings, state_.settings);
}

void MainForm::Next_Picture() {
  auto& settings = state_.settings;
  state_.sCurrentFile = settings.bRandom ? Pick_Random(state_.sImagePaths, settings.sLastFile,
                                                       settings.bRepeats, random_)
                                         : Pick_Sequential(state_.sImagePaths, settings.sLastFile);
  changing_.TriggerNextPic();
  if (!state_.bBackgroundRun) changing_.ShowModal();
  platform_.loop.Yield();
}

}  // namespace vellumo
