#include "dbus_session.h"

#include <dbus/dbus.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace vellumo {
namespace {

using namespace std::chrono_literals;

class DbusError {
 public:
  DbusError() { dbus_error_init(&error_); }
  ~DbusError() { dbus_error_free(&error_); }
  DbusError(const DbusError&) = delete;
  DbusError& operator=(const DbusError&) = delete;
  DBusError* get() { return &error_; }
  bool set() const { return dbus_error_is_set(&error_); }
  std::string name() const { return error_.name ? error_.name : ""; }
  std::string text() const { return error_.message ? error_.message : ""; }

 private:
  DBusError error_;
};

std::string DefaultAddress() {
  if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address) {
    return address;
  }
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (!runtime || !*runtime) return {};
  const std::string socket = std::string(runtime) + "/bus";
  struct stat info {};
  if (stat(socket.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode)) return {};
  return "unix:path=" + socket;
}

int Milliseconds(std::chrono::milliseconds time_limit) {
  return static_cast<int>(std::clamp<long long>(time_limit.count(), 1, INT_MAX));
}

void CollectStrings(DBusMessageIter* iter, std::vector<std::string>& strings) {
  do {
    const int type = dbus_message_iter_get_arg_type(iter);
    if (type == DBUS_TYPE_STRING || type == DBUS_TYPE_OBJECT_PATH) {
      const char* text = nullptr;
      dbus_message_iter_get_basic(iter, &text);
      strings.emplace_back(text ? text : "");
    } else if (type == DBUS_TYPE_ARRAY || type == DBUS_TYPE_VARIANT) {
      DBusMessageIter inner;
      dbus_message_iter_recurse(iter, &inner);
      if (dbus_message_iter_get_arg_type(&inner) != DBUS_TYPE_INVALID) {
        CollectStrings(&inner, strings);
      }
    }
  } while (dbus_message_iter_next(iter));
}

}  // namespace

bool DbusReply::ServiceMissing() const {
  return error_name == DBUS_ERROR_SERVICE_UNKNOWN || error_name == DBUS_ERROR_NAME_HAS_NO_OWNER;
}

std::string DbusReply::Describe() const {
  std::string name = error_name.substr(error_name.rfind('.') + 1);
  return error_text.empty() ? name : name + ": " + error_text;
}

void DbusMessageFree::operator()(DBusMessage* message) const {
  dbus_message_unref(message);
}

bool IsDbusText(const std::string& text) {
  return dbus_validate_utf8(text.c_str(), nullptr) && text.find('\0') == std::string::npos;
}

DbusMessagePtr NewDbusCall(const DbusMethod& method, const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments) {
    if (!IsDbusText(argument)) return nullptr;
  }
  DbusMessagePtr message(dbus_message_new_method_call(method.destination.c_str(),
                                                      method.path.c_str(), method.interface.c_str(),
                                                      method.member.c_str()));
  if (!message) return nullptr;
  DBusMessageIter iter;
  dbus_message_iter_init_append(message.get(), &iter);
  for (const std::string& argument : arguments) {
    const char* text = argument.c_str();
    if (!dbus_message_iter_append_basic(&iter, DBUS_TYPE_STRING, &text)) return nullptr;
  }
  return message;
}

std::unique_ptr<DbusSession> DbusSession::Connect(std::string address,
                                                  std::chrono::milliseconds time_limit,
                                                  std::string& failure) {
  if (address.empty()) address = DefaultAddress();
  if (address.empty()) {
    failure = "no session bus (DBUS_SESSION_BUS_ADDRESS is not set)";
    return nullptr;
  }
  DbusError error;
  DBusConnection* connection = dbus_connection_open_private(address.c_str(), error.get());
  if (!connection) {
    failure = "cannot reach the session bus: " + error.text();
    return nullptr;
  }
  dbus_connection_set_exit_on_disconnect(connection, FALSE);
  std::unique_ptr<DbusSession> session(new DbusSession(connection));
  // A blocking call on a connection still authenticating waits without a limit, so the
  // handshake is driven here against the deadline.
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + time_limit;
  while (!dbus_connection_get_is_authenticated(connection)) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0 || !dbus_connection_get_is_connected(connection)) {
      failure = "the session bus did not answer";
      return nullptr;
    }
    dbus_connection_read_write(connection, Milliseconds(std::min(left, 100ms)));
  }
  // dbus_bus_register() would wait for the bus's answer as long as libdbus's default (25 s).
  DbusMessagePtr hello(dbus_message_new_method_call(DBUS_SERVICE_DBUS, DBUS_PATH_DBUS,
                                                    DBUS_INTERFACE_DBUS, "Hello"));
  DbusReply reply = session->Send(hello.get(), time_limit);
  if (!reply.ok || reply.strings.empty()) {
    failure = "the session bus did not welcome us (" + reply.Describe() + ")";
    return nullptr;
  }
  dbus_bus_set_unique_name(connection, reply.strings.front().c_str());
  return session;
}

DbusSession::~DbusSession() {
  dbus_connection_close(connection_);
  dbus_connection_unref(connection_);
}

DbusReply DbusSession::Call(const DbusMethod& method, const std::vector<std::string>& arguments,
                            std::chrono::milliseconds time_limit) {
  DbusMessagePtr message = NewDbusCall(method, arguments);
  if (!message) {
    DbusReply reply;
    reply.error_name = "InvalidArgs";
    reply.error_text = "an argument is not valid UTF-8";
    return reply;
  }
  return Send(message.get(), time_limit);
}

DbusReply DbusSession::Send(DBusMessage* message, std::chrono::milliseconds time_limit) {
  DbusReply reply;
  DbusError error;
  DBusMessage* answer = dbus_connection_send_with_reply_and_block(
      connection_, message, Milliseconds(time_limit), error.get());
  if (!answer) {
    reply.error_name = error.set() ? error.name() : "Failed";
    reply.error_text = error.text();
    return reply;
  }
  reply.ok = true;
  DBusMessageIter iter;
  if (dbus_message_iter_init(answer, &iter)) CollectStrings(&iter, reply.strings);
  dbus_message_unref(answer);
  return reply;
}

}  // namespace vellumo
