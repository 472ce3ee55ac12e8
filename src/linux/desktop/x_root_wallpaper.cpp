#include "x_root_wallpaper.h"

#include <cstdio>

#include "child_work.h"
#include "x_root_window.h"

namespace vellumo {

BackendResult XRootWallpaper::Set(const std::string& absolute_path, Layout layout) {
  const ChildWorkResult result = RunInChild(
      [&](std::string& failure) {
        return SetRootWindowPicture(display_, absolute_path, layout, failure);
      },
      time_limit_);
  if (result.finished && result.succeeded) return BackendResult::Set();
  if (result.finished) return BackendResult::Failed(result.text);
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%g", static_cast<double>(time_limit_.count()) / 1000);
  return BackendResult::Failed("X root window on " + display_ +
                               ": the X server did not answer within " + seconds + " s");
}

}  // namespace vellumo
