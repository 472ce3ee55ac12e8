#include "display_probe.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QFileInfo>
#include <QLibraryInfo>
#include <cstdlib>
#include <cstring>

namespace vellumo {
namespace {

bool XDisplayOpens() {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) return false;
  xcb_connection_t* connection = xcb_connect(display, nullptr);
  const bool opened = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return opened;
}

// $WAYLAND_DISPLAY is a socket name in $XDG_RUNTIME_DIR, or an absolute path.
std::string WaylandSocket() {
  const char* name = std::getenv("WAYLAND_DISPLAY");
  if (!name || !*name) return {};
  if (name[0] == '/') return name;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (!runtime || !*runtime) return {};
  return std::string(runtime) + "/" + name;
}

bool WaylandDisplayOpens() {
  const std::string path = WaylandSocket();
  sockaddr_un address{};
  if (path.empty() || path.size() >= sizeof address.sun_path) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool opened = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return opened;
}

bool HasWaylandPlugin() {
  const QString folder = QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms/";
  return QFileInfo::exists(folder + "libqwayland-generic.so") ||
         QFileInfo::exists(folder + "libqwayland-egl.so");
}

void Append(std::string& list, std::string_view entry) {
  if (!list.empty()) list += ';';
  list += entry;
}

}  // namespace

DisplayAccess ProbeDisplays() {
  return DisplayAccess{XDisplayOpens(), WaylandDisplayOpens() && HasWaylandPlugin()};
}

std::string QtPlatforms(std::string_view configured, DisplayAccess access) {
  std::string list;
  if (configured.empty()) {
    if (access.x11) Append(list, "xcb");
    if (access.wayland) Append(list, "wayland");
    return list;
  }
  while (!configured.empty()) {
    const auto end = configured.find(';');
    const std::string_view entry = configured.substr(0, end);
    configured.remove_prefix(end == configured.npos ? configured.size() : end + 1);
    const std::string_view name = entry.substr(0, entry.find(':'));
    if (name == "xcb" && !access.x11) continue;
    if (name.starts_with("wayland") && !access.wayland) continue;
    if (!entry.empty()) Append(list, entry);
  }
  return list;
}

}  // namespace vellumo
