#pragma once

#include <string>

#include "platform/desktop.h"

namespace vellumo {

// Makes the picture in `path` the background of the root window of the X display `display`,
// laid out as `layout`, and publishes its pixmap as _XROOTPMAP_ID and ESETROOT_PMAP_ID for
// compositors and terminals. The pixmap outlives the process; the one a previous change left
// behind is freed. On failure returns false, says why in `failure` and leaves the background
// as it was.
bool SetRootWindowPicture(const std::string& display, const std::string& path, Layout layout,
                          std::string& failure);

}  // namespace vellumo
