#pragma once

#include <string>
#include <string_view>

namespace vellumo {

// Which window systems this process can reach right now.
struct DisplayAccess {
  bool x11 = false;
  bool wayland = false;
};

// Opens and closes a connection to $DISPLAY and to $WAYLAND_DISPLAY. Wayland counts only when
// Qt has its plugin for it. Needs no QApplication.
DisplayAccess ProbeDisplays();

// The QT_QPA_PLATFORM value to start Qt with: the configured list ("xcb;wayland",
// "offscreen", ...) without the window systems that cannot be reached, or, when none is
// configured, those that can (X first: a notice can centre itself and fade there). Empty when
// nothing is left: the run goes on without windows.
std::string QtPlatforms(std::string_view configured, DisplayAccess access);

}  // namespace vellumo
