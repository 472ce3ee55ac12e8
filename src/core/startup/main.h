#pragma once

#include "change/apply_picture.h"
#include "platform/platform.h"

namespace vellumo {

// One background change from start to end: load the settings and the list, pick the next
// picture, store the settings, and run the change screen until no window is left. Returns
// what became of the change (kNotRun when nothing ticked).
ChangeResult RunBackground(Platform& platform);

// The settings window from opening to closing; closing stores the seven settings.
void RunInteractive(Platform& platform);

}  // namespace vellumo
