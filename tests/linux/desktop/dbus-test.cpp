// The D-Bus desktops (KDE Plasma, Deepin) against a private bus daemon and a stand-in service,
// written here with libdbus, that records the calls it receives.
#include <dbus/dbus.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "dbus_session.h"
#include "deepin_wallpaper.h"
#include "kde_wallpaper.h"
#include "temp_folder.h"

namespace vellumo {
namespace {

using namespace std::chrono_literals;
using Outcome = BackendResult::Outcome;

constexpr char kBusConfig[] = R"(<!DOCTYPE busconfig PUBLIC
 "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=@DIR@</listen>
  <policy context="default">
    <allow send_destination="*"/>
    <allow receive_sender="*"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

// A bus daemon of our own, without any service that could be started on demand.
class PrivateBus {
 public:
  explicit PrivateBus(const std::filesystem::path& folder) {
    std::string config = kBusConfig;
    config.replace(config.find("@DIR@"), 5, folder.string());
    test::WriteFile(folder / "bus.conf", config);
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      prctl(PR_SET_PDEATHSIG, SIGTERM);
      dup2(out[1], 1);
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, 2);  // its notes (such as not raising its file limit) are not ours to show
      const std::string config_arg = "--config-file=" + (folder / "bus.conf").string();
      execlp("dbus-daemon", "dbus-daemon", config_arg.c_str(), "--nofork", "--print-address",
             nullptr);
      _exit(127);
    }
    close(out[1]);
    char c = 0;
    pollfd ready = {out[0], POLLIN, 0};
    while (poll(&ready, 1, 10'000) > 0 && read(out[0], &c, 1) == 1 && c != '\n') address_ += c;
    close(out[0]);
  }
  ~PrivateBus() {
    if (pid_ <= 0) return;
    kill(pid_, SIGCONT);
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  const std::string& address() const { return address_; }
  // Stops answering while still accepting connections; and back.
  void Pause() const { kill(pid_, SIGSTOP); }
  void Resume() const { kill(pid_, SIGCONT); }

 private:
  pid_t pid_ = -1;
  std::string address_;
};

// Owns the given names and records "member arg arg ..." for every call; answers
// ListOutputNames with two monitors and everything else with an empty reply, or not at all
// when `silent`.
class FakeService {
 public:
  FakeService(const std::string& address, std::vector<std::string> names, bool silent = false)
      : silent_(silent) {
    DBusError error;
    dbus_error_init(&error);
    connection_ = dbus_connection_open_private(address.c_str(), &error);
    if (connection_ && dbus_bus_register(connection_, &error)) {
      for (const std::string& name : names) {
        dbus_bus_request_name(connection_, name.c_str(), DBUS_NAME_FLAG_DO_NOT_QUEUE, &error);
      }
    }
    dbus_error_free(&error);
    thread_ = std::thread([this] { Serve(); });
  }
  ~FakeService() {
    stop_ = true;
    thread_.join();
    if (connection_) {
      dbus_connection_close(connection_);
      dbus_connection_unref(connection_);
    }
  }

  std::vector<std::string> calls() {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
  }

 private:
  void Serve() {
    while (connection_ && !stop_) {
      dbus_connection_read_write(connection_, 20);
      while (DBusMessage* message = dbus_connection_pop_message(connection_)) {
        if (dbus_message_get_type(message) == DBUS_MESSAGE_TYPE_METHOD_CALL) Answer(message);
        dbus_message_unref(message);
      }
    }
  }

  void Answer(DBusMessage* call) {
    std::string line = std::string(dbus_message_get_path(call)) + " " +
                       dbus_message_get_interface(call) + "." + dbus_message_get_member(call);
    DBusMessageIter iter;
    if (dbus_message_iter_init(call, &iter)) {
      do {
        const char* text = nullptr;
        if (dbus_message_iter_get_arg_type(&iter) == DBUS_TYPE_STRING) {
          dbus_message_iter_get_basic(&iter, &text);
          line += std::string(" ") + text;
        }
      } while (dbus_message_iter_next(&iter));
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      calls_.push_back(line);
    }
    if (silent_) return;
    DBusMessage* reply = dbus_message_new_method_return(call);
    if (std::string(dbus_message_get_member(call)) == "ListOutputNames") {
      const char* monitors[] = {"HDMI-1", "eDP-1"};
      const char** items = monitors;
      dbus_message_append_args(reply, DBUS_TYPE_ARRAY, DBUS_TYPE_STRING, &items, 2,
                               DBUS_TYPE_INVALID);
    }
    dbus_connection_send(connection_, reply, nullptr);
    dbus_connection_flush(connection_);
    dbus_message_unref(reply);
  }

  DBusConnection* connection_ = nullptr;
  bool silent_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::mutex mutex_;
  std::vector<std::string> calls_;
};

class DbusDesktopsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (bus_.address().empty()) GTEST_SKIP() << "dbus-daemon would not start";
  }
  test::TempFolder folder_;
  PrivateBus bus_{folder_.path()};
  const std::string picture_ = "/home/ann/it's été/vellumo 1.png";
};

TEST_F(DbusDesktopsTest, PlasmaRunsTheScriptForEveryDesktop) {
  FakeService plasma(bus_.address(), {"org.kde.plasmashell"});
  const BackendResult result = KdeWallpaper(bus_.address()).Set(picture_, Layout::kTiled);
  ASSERT_TRUE(result.ok()) << result.failure;
  EXPECT_EQ(plasma.calls(),
            std::vector<std::string>{"/PlasmaShell org.kde.PlasmaShell.evaluateScript " +
                                     PlasmaWallpaperScript(picture_, Layout::kTiled)});
}

TEST_F(DbusDesktopsTest, DeepinSetsEveryMonitorInEitherVersion) {
  {
    FakeService deepin23(bus_.address(), {"org.deepin.dde.Appearance1", "org.deepin.dde.Display1"});
    const BackendResult result = DeepinWallpaper(bus_.address()).Set(picture_, Layout::kTiled);
    ASSERT_TRUE(result.ok()) << result.failure;
    const std::string set =
        "/org/deepin/dde/Appearance1 org.deepin.dde.Appearance1."
        "SetMonitorBackground ";
    EXPECT_EQ(deepin23.calls(),
              (std::vector<std::string>{
                  "/org/deepin/dde/Display1 org.deepin.dde.Display1.ListOutputNames",
                  set + "HDMI-1 " + picture_, set + "eDP-1 " + picture_}));
  }
  FakeService deepin20(bus_.address(),
                       {"com.deepin.daemon.Appearance", "com.deepin.daemon.Display"});
  const BackendResult result = DeepinWallpaper(bus_.address()).Set(picture_, Layout::kCentered);
  ASSERT_TRUE(result.ok()) << result.failure;
  EXPECT_EQ(deepin20.calls().back(),
            "/com/deepin/daemon/Appearance com.deepin.daemon.Appearance.SetMonitorBackground "
            "eDP-1 " +
                picture_);
}

TEST_F(DbusDesktopsTest, AServiceNotOnTheBusIsMissingAndASilentOneTimesOut) {
  BackendResult result = KdeWallpaper(bus_.address()).Set(picture_, Layout::kTiled);
  EXPECT_EQ(result.outcome, Outcome::kServiceMissing);
  EXPECT_EQ(result.failure.rfind("plasmashell's evaluateScript failed (ServiceUnknown: ", 0), 0u)
      << result.failure;
  EXPECT_EQ(DeepinWallpaper(bus_.address()).Set(picture_, Layout::kTiled).outcome,
            Outcome::kServiceMissing);

  FakeService silent(bus_.address(), {"org.kde.plasmashell"}, true);
  const auto start = std::chrono::steady_clock::now();
  result = KdeWallpaper(bus_.address(), 300ms).Set(picture_, Layout::kTiled);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
  EXPECT_EQ(result.outcome, Outcome::kFailed);
  EXPECT_EQ(result.failure.rfind("plasmashell's evaluateScript failed (NoReply", 0), 0u)
      << result.failure;
  // A bus that stopped answering altogether.
  bus_.Pause();
  const auto paused = std::chrono::steady_clock::now();
  result = DeepinWallpaper(bus_.address(), 300ms).Set(picture_, Layout::kTiled);
  bus_.Resume();
  EXPECT_LT(std::chrono::steady_clock::now() - paused, 3s);
  EXPECT_EQ(result.outcome, Outcome::kServiceMissing);
  EXPECT_EQ(result.failure, "the session bus did not answer");
}

TEST(DbusMessageTest, PathsThatAreNotUtf8AreRefusedBeforeSending) {
  const DbusMethod method = {"org.example", "/", "org.example", "Do"};
  EXPECT_TRUE(NewDbusCall(method, {"/home/ann/été.png"}));
  EXPECT_FALSE(NewDbusCall(method, {"/home/ann/\xE9t\xE9.png"}));
}

}  // namespace
}  // namespace vellumo
