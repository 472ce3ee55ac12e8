#include "fade_support.h"

#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#include <QGuiApplication>
#include <cstdlib>
#include <memory>
#include <string>

namespace vellumo {
namespace {

// The screen number $DISPLAY names, 0 when it names none.
int ScreenNumber() {
  int screen = 0;
  char* host = nullptr;
  int display = 0;
  if (xcb_parse_display(std::getenv("DISPLAY"), &host, &display, &screen) == 0) return 0;
  std::free(host);
  return screen;
}

bool CompositorRunning(xcb_connection_t* connection) {
  const std::string name = "_NET_WM_CM_S" + std::to_string(ScreenNumber());
  const auto atom_cookie = xcb_intern_atom(connection, 1, name.size(), name.c_str());
  std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
      xcb_intern_atom_reply(connection, atom_cookie, nullptr), &std::free);
  // The atom exists once some compositor has ever claimed the selection.
  if (!atom || atom->atom == XCB_ATOM_NONE) return false;
  const auto owner_cookie = xcb_get_selection_owner(connection, atom->atom);
  std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> owner(
      xcb_get_selection_owner_reply(connection, owner_cookie, nullptr), &std::free);
  return owner && owner->owner != XCB_NONE;
}

}  // namespace

bool CanFadeWindows() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return false;
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
  return connection && CompositorRunning(connection);
}

}  // namespace vellumo
