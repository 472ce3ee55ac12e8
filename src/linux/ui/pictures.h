#pragma once

#include <QIcon>

namespace vellumo {

// The windows' pictures, the same images the Windows build uses, in every size drawn: Qt picks
// the one for the screen's pixel ratio.
QIcon ProgramIcon();
QIcon RatioIcon();
// A toolbar picture by its name: "random" for toolbar-random-32.png and its larger sizes.
QIcon ToolbarIcon(const char* name);
// "browse" or "display-settings".
QIcon ButtonIcon(const char* name);

}  // namespace vellumo
