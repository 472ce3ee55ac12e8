#include "deepin_wallpaper.h"

#include <array>
#include <vector>

#include "dbus_session.h"
#include "xrandr_monitors.h"

namespace vellumo {
namespace {

struct DeepinServices {
  DbusMethod set_background;  // SetMonitorBackground(s monitor, s file)
  DbusMethod list_monitors;   // ListOutputNames() -> as
};

// Deepin 23 first, then 20.
const std::array<DeepinServices, 2> kVersions = {{
    {{"org.deepin.dde.Appearance1", "/org/deepin/dde/Appearance1", "org.deepin.dde.Appearance1",
      "SetMonitorBackground"},
     {"org.deepin.dde.Display1", "/org/deepin/dde/Display1", "org.deepin.dde.Display1",
      "ListOutputNames"}},
    {{"com.deepin.daemon.Appearance", "/com/deepin/daemon/Appearance",
      "com.deepin.daemon.Appearance", "SetMonitorBackground"},
     {"com.deepin.daemon.Display", "/com/deepin/daemon/Display", "com.deepin.daemon.Display",
      "ListOutputNames"}},
}};

}  // namespace

bool DeepinWallpaper::CanShow(const std::string& absolute_path) const {
  return IsDbusText(absolute_path);
}

BackendResult DeepinWallpaper::Set(const std::string& absolute_path, Layout) {
  std::string failure;
  auto bus = DbusSession::Connect(bus_address_, time_limit_, failure);
  if (!bus) return BackendResult::Missing(failure);
  std::string missing;
  for (const DeepinServices& services : kVersions) {
    missing.clear();
    const DbusReply listed = bus->Call(services.list_monitors, {}, time_limit_);
    if (listed.ServiceMissing()) {
      missing = services.list_monitors.destination + " is not on the bus";
      continue;  // another version of Deepin, or not started yet
    }
    std::vector<std::string> monitors = listed.strings;
    if (monitors.empty()) monitors = ActiveMonitorNames(time_limit_);
    if (monitors.empty())
      return BackendResult::Failed("no monitor to set: ListOutputNames and xrandr name none");
    for (const std::string& monitor : monitors) {
      const DbusReply reply =
          bus->Call(services.set_background, {monitor, absolute_path}, time_limit_);
      if (reply.ok) continue;
      const std::string why = services.set_background.destination + " SetMonitorBackground " +
                              monitor + " failed (" + reply.Describe() + ")";
      if (!reply.ServiceMissing()) return BackendResult::Failed(why);
      missing = why;
      break;
    }
    if (missing.empty()) return BackendResult::Set();
  }
  return BackendResult::Missing(missing);
}

}  // namespace vellumo
