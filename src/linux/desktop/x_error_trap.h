#pragma once

#include <X11/Xlib.h>

namespace vellumo {

// Catches the X protocol errors of a stretch of code instead of letting Xlib's default handler
// end the program. Xlib has one error handler per process; the trap installs its own while it
// lives and puts the previous one back afterwards.
class XErrorTrap {
 public:
  explicit XErrorTrap(Display* display);
  ~XErrorTrap();
  XErrorTrap(const XErrorTrap&) = delete;
  XErrorTrap& operator=(const XErrorTrap&) = delete;

  // Waits until the server has handled every request sent so far and returns the code of the
  // first error since the previous call (Success for none).
  int Sync();

 private:
  Display* display_;
  XErrorHandler previous_;
};

}  // namespace vellumo
