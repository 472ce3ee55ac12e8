#pragma once

#include "win.h"

namespace vellumo {

// Makes a top-level window translucent as a whole: alpha 255 is opaque, 0 fully transparent.
// Returns 0 when applied, 1 for an alpha outside 0..255 (nothing touched), 2 when a system call
// failed (the remaining calls still run). The window stays layered afterwards.
int Set_Translucency(HWND window, int alpha);

}  // namespace vellumo
