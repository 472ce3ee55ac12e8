#include "startup/main.h"

#include "change/change_screen.h"
#include "startup/state.h"
#include "ui/main_form.h"

namespace vellumo {

ChangeResult RunBackground(Platform& platform) {
  State state;
  state.bBackgroundRun = true;
  ChangingForm changing(state, platform);
  {
    MainForm main(state, platform, changing);
    main.Loading();
    // The login's run, or a timed one: the schedule follows the session it runs in.
    if (state.settings.iInterval > 0) platform.schedule.Refresh();
    main.Next_Picture();
    main.Unload();
  }
  platform.loop.Run();
  return changing.LastChange();
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
