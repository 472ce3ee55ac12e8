#include "x_error_trap.h"

namespace vellumo {
namespace {

// Xlib calls the handler without any context of ours, so the first error waits here until the
// trap collects it.
thread_local int first_error = Success;

int RecordError(Display*, XErrorEvent* event) {
  if (first_error == Success) first_error = event->error_code;
  return 0;
}

}  // namespace

XErrorTrap::XErrorTrap(Display* display)
    : display_(display), previous_(XSetErrorHandler(RecordError)) {
  first_error = Success;
}

XErrorTrap::~XErrorTrap() {
  XSync(display_, False);
  XSetErrorHandler(previous_);
}

int XErrorTrap::Sync() {
  XSync(display_, False);
  int error = first_error;
  first_error = Success;
  return error;
}

}  // namespace vellumo
