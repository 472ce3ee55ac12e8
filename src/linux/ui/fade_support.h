#pragma once

namespace vellumo {

// True when a window's opacity shows on screen: an X server whose compositing manager owns
// the _NET_WM_CM_Sn selection. Wayland has no opacity for a client to set, and X without a
// compositor draws every window opaque. A QApplication must exist.
bool CanFadeWindows();

}  // namespace vellumo
