#include "display_probe.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QFileInfo>
#include <QLibraryInfo>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <future>
#include <thread>
#include <utility>

namespace vellumo {
namespace {

// A server that accepts the connection but never answers (stopped, say) would hold
// xcb_connect for ever; past this the run goes on without windows.
constexpr std::chrono::seconds kXAnswerLimit{3};

std::shared_ptr<void> ConnectX() {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) return nullptr;
  auto connected = std::make_shared<std::promise<xcb_connection_t*>>();
  std::future<xcb_connection_t*> answer = connected->get_future();
  // Left behind, not joined, when the server never answers: the process ends without it.
  std::thread([connected, name = std::string(display)] {
    connected->set_value(xcb_connect(name.c_str(), nullptr));
  }).detach();
  if (answer.wait_for(kXAnswerLimit) != std::future_status::ready) return nullptr;
  xcb_connection_t* connection = answer.get();
  if (xcb_connection_has_error(connection) != 0) {
    xcb_disconnect(connection);
    return nullptr;
  }
  return {connection, [](void* held) { xcb_disconnect(static_cast<xcb_connection_t*>(held)); }};
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

DisplayProbe ProbeDisplays() {
  std::shared_ptr<void> x_connection = ConnectX();
  const DisplayAccess access{x_connection != nullptr, WaylandDisplayOpens() && HasWaylandPlugin()};
  return DisplayProbe{access, std::move(x_connection)};
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
