#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace vellumo {

// Which window systems this process can reach right now.
struct DisplayAccess {
  bool x11 = false;
  bool wayland = false;
};

struct DisplayProbe {
  DisplayAccess access;
  // The probe's X connection, to be kept until Qt has opened its own: a server started
  // without -noreset resets when its last client leaves, and Qt would then find no display
  // and end the process.
  std::shared_ptr<void> x_connection;
};

// Connects to $DISPLAY, giving up on a server that does not answer within a few seconds, and
// tries $WAYLAND_DISPLAY. Wayland counts only when Qt has its plugin for it. Needs no
// QApplication.
DisplayProbe ProbeDisplays();

// The QT_QPA_PLATFORM value to start Qt with: the configured list ("xcb;wayland",
// "offscreen", ...) without the window systems that cannot be reached, or, when none is
// configured, those that can (X first: a notice can centre itself and fade there). Empty when
// nothing is left: the run goes on without windows.
std::string QtPlatforms(std::string_view configured, DisplayAccess access);

}  // namespace vellumo
