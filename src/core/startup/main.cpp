#include "startup/main.h"

#include "change/change_screen.h"
#include "startup/state.h"
#include "ui/main_form.h"

namespace vellumo {
namespace {

// Why an empty list had nothing to offer, in the user's terms.
std::string NoPictureReason(const Settings& settings) {
  if (settings.iSourceType != 1 && settings.iSourceType != 2)
    return "the source is a single file, which gives no list of pictures to choose from";
  if (settings.sSourceFolder.empty()) return "the source folder is not set or no longer exists";
  return "no pictures (BMP, JPEG, GIF) in " + settings.sSourceFolder;
}

}  // namespace

ChangeResult RunBackground(Platform& platform) {
  State state;
  state.bBackgroundRun = true;
  ChangingForm changing(state, platform);
  {
    MainForm main(state, platform, changing);
    main.Loading();
    main.Next_Picture();
    main.Unload();
  }
  platform.loop.Run();
  ChangeResult result = changing.LastChange();
  if (result.outcome == ChangeOutcome::kNoPicture) result.detail = NoPictureReason(state.settings);
  return result;
}

void RunInteractive(Platform& platform) {
  State state;
  ChangingForm changing(state, platform);
  MainForm main(state, platform, changing);
  main.Loading();
  main.Show();
  platform.loop.Run();
  // Ended some other way than by closing the window (the session ending): still stored.
  main.Unload();
}

}  // namespace vellumo
