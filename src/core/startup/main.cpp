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
    main.Next_Picture();
    main.Unload();
  }
  platform.loop.Run();
  return changing.LastChange();
}

void LoadAndUnloadMain(Platform& platform) {
  State state;
  ChangingForm changing(state, platform);
  MainForm main(state, platform, changing);
  main.Loading();
  main.Unload();
}

}  // namespace vellumo
