#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

struct DBusConnection;
struct DBusMessage;

namespace vellumo {

// Where a D-Bus method lives.
struct DbusMethod {
  std::string destination;  // the bus name, e.g. "org.kde.plasmashell"
  std::string path;
  std::string interface;
  std::string member;
};

struct DbusReply {
  bool ok = false;
  // The error's name ("org.freedesktop.DBus.Error.ServiceUnknown") and text, when not ok.
  std::string error_name;
  std::string error_text;
  // The reply's strings, a string array's included, in order.
  std::vector<std::string> strings;

  // The name is not on the bus: its service has not started (yet).
  bool ServiceMissing() const;
  std::string Describe() const;  // "ServiceUnknown: ..." for messages
};

struct DbusMessageFree {
  void operator()(DBusMessage* message) const;
};
using DbusMessagePtr = std::unique_ptr<DBusMessage, DbusMessageFree>;

// Whether `text` can be a D-Bus (or GVariant) string: valid UTF-8 without a NUL. A file name in
// another encoding cannot be handed to a desktop that takes text.
bool IsDbusText(const std::string& text);

// The method call with string arguments; null when an argument is not valid UTF-8, which D-Bus
// does not carry.
DbusMessagePtr NewDbusCall(const DbusMethod& method, const std::vector<std::string>& arguments);

// A private connection to the user's session bus in which every call has a time limit: no call
// waits on a service that does not answer.
class DbusSession {
 public:
  // Connects to the bus at `address` (empty: DBUS_SESSION_BUS_ADDRESS, else the user's bus in
  // XDG_RUNTIME_DIR). Null on failure, with the reason in `failure`.
  static std::unique_ptr<DbusSession> Connect(std::string address,
                                              std::chrono::milliseconds time_limit,
                                              std::string& failure);
  ~DbusSession();
  DbusSession(const DbusSession&) = delete;
  DbusSession& operator=(const DbusSession&) = delete;

  DbusReply Call(const DbusMethod& method, const std::vector<std::string>& arguments,
                 std::chrono::milliseconds time_limit);

 private:
  explicit DbusSession(DBusConnection* connection) : connection_(connection) {}
  DbusReply Send(DBusMessage* message, std::chrono::milliseconds time_limit);

  DBusConnection* connection_;
};

}  // namespace vellumo
