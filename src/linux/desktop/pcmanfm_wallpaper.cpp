#include "pcmanfm_wallpaper.h"

#include "command.h"
#include "dbus_session.h"

namespace vellumo {

bool PcmanfmWallpaper::CanShow(const std::string& absolute_path) const {
  if (program_ == "pcmanfm") return absolute_path.find('\n') == std::string::npos;
  return IsDbusText(absolute_path);
}

BackendResult PcmanfmWallpaper::Set(const std::string& absolute_path, Layout layout) {
  const CommandResult result = RunCommand({program_, "--set-wallpaper=" + absolute_path,
                                           std::string("--wallpaper-mode=") + LayoutWord(layout)},
                                          time_limit_);
  if (Succeeded(result)) return BackendResult::Set();
  return BackendResult::Failed(program_ + " failed (" + DescribeFailure(result) + ")");
}

}  // namespace vellumo
