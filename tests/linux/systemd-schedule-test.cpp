// The change every so often through systemd's user manager: the units as systemd itself reads
// them, and the commands sent to a stand-in systemctl first on PATH. The real user manager is
// met in schedule-e2e-test.cpp.
#include "systemd_schedule.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "desktop/command.h"
#include "temp_folder.h"

namespace vellumo {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Calls = std::vector<std::string>;

// Folder names systemd can start a program from, each written its own way in ExecStart.
const char* const kStartableFolders[] = {"with space", "per%cent",      "dol$lar",
                                         "semi;colon", "acc\xC3\xA9nt", "lat\xE9in"};

class UnitFiles : public testing::TestWithParam<const char*> {};

// systemd-analyze finds the program at the path ExecStart names only when systemd reads back
// every byte of it.
TEST_P(UnitFiles, PassSystemdsOwnCheckAndNameTheProgram) {
  if (!RunCommand({"systemd-analyze", "--version"}, 10s).started)
    GTEST_SKIP() << "no systemd-analyze";
  test::TempFolder folder;
  const std::string program = folder / (std::string(GetParam()) + "/vellumo");
  test::WriteFile(program, "#!/bin/sh\n");
  chmod(program.c_str(), 0755);
  test::WriteFile(folder / "units/vellumo-next.service", NextServiceText(program));
  test::WriteFile(folder / "units/vellumo-next.timer", NextTimerText(15));
  // A user instance's check wants a runtime folder, which a test run may lack.
  const CommandResult verify = RunCommand(
      {"env", "XDG_RUNTIME_DIR=" + folder.path().string(), "systemd-analyze", "--user", "verify",
       folder / "units/vellumo-next.service", folder / "units/vellumo-next.timer"},
      30s);
  EXPECT_TRUE(Succeeded(verify)) << verify.output << verify.errors;
  EXPECT_EQ(verify.errors, "");
}

INSTANTIATE_TEST_SUITE_P(Schedule, UnitFiles, testing::ValuesIn(kStartableFolders));

TEST(UnitTexts, RunTheProgramOnceAndRepeatAtTheIntervalFromTheStart) {
  EXPECT_NE(NextServiceText("/opt/v/vellumo")
                .find("\nType=oneshot\n"
                      "ExecStart=\"/opt/v/vellumo\" -next\n"),
            std::string::npos);
  const std::string timer = NextTimerText(360);
  for (const char* line : {"\nOnActiveSec=360min\n", "\nOnUnitActiveSec=360min\n",
                           "\nPersistent=false\n", "\n[Install]\nWantedBy=timers.target\n"})
    EXPECT_NE(timer.find(line), std::string::npos) << line;
  EXPECT_EQ(SystemdExecPath("/opt/50%/caf\xC3\xA9/vellumo"), "\"/opt/50%%/caf\\xc3\\xa9/vellumo\"");
}

TEST(UnitTexts, TheTimersOwnRunIsToldByItsControlGroup) {
  EXPECT_TRUE(
      IsTimedRun("0::/user.slice/user-1000.slice/user@1000.service/app.slice/"
                 "vellumo-next.service\n"));
  EXPECT_TRUE(IsTimedRun("12:pids:/x\n1:name=systemd:/user@0.service/vellumo-next.service"));
  EXPECT_FALSE(IsTimedRun("0::/user.slice/user-1000.slice/session-2.scope\n"));
  EXPECT_FALSE(IsTimedRun("0::/app.slice/vellumo-next.service-old\n"));
}

// Every stand-in call is logged as its arguments, tab-separated; a stand-in given a verb to
// refuse exits 1 with a message for it.
constexpr char kSystemctl[] = R"(#!/bin/sh
line="${0##*/}"
for arg in "$@"; do line="$line	$arg"; done
printf '%s\n' "$line" >> "$FAKE_DIR/log"
[ "$2" = "$REFUSE" ] && echo "Failed to $2: Access denied" >&2 && exit 1
exit 0
)";

class SystemdScheduleTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_path_ = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (folder_ / "bin").c_str(), 1);
    setenv("FAKE_DIR", folder_.path().c_str(), 1);
    test::WriteFile(folder_ / "bin/systemctl", kSystemctl);
    chmod((folder_ / "bin/systemctl").c_str(), 0755);
    for (const char* name :
         {"DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION",
          "SWAYSOCK", "HYPRLAND_INSTANCE_SIGNATURE", "DBUS_SESSION_BUS_ADDRESS"}) {
      if (const char* value = std::getenv(name)) saved_.emplace_back(name, value);
      unsetenv(name);
    }
    setenv("DISPLAY", ":7", 1);
    setenv("XDG_CURRENT_DESKTOP", "XFCE", 1);
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/run/user/1/bus", 1);
  }
  void TearDown() override {
    setenv("PATH", saved_path_.c_str(), 1);
    unsetenv("FAKE_DIR");
    unsetenv("REFUSE");
    unsetenv("DISPLAY");
    unsetenv("XDG_CURRENT_DESKTOP");
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    for (const auto& [name, value] : saved_) setenv(name.c_str(), value.c_str(), 1);
    if (socket_ >= 0) close(socket_);
  }

  // The user manager's private socket, where the manager would listen.
  void StartManager() {
    const std::string path = folder_ / "runtime/systemd/private";
    fs::create_directories(fs::path(path).parent_path());
    socket_ = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  }
  SystemdScheduledChange Schedule() {
    return SystemdScheduledChange(folder_ / "units", "/opt/vellumo/vellumo", folder_ / "runtime");
  }
  Calls TakeCalls() {
    Calls calls;
    std::ifstream file(folder_ / "log");
    for (std::string line; std::getline(file, line);) calls.push_back(line);
    fs::remove(folder_ / "log");
    return calls;
  }
  bool UnitsThere() {
    return fs::exists(folder_ / "units/vellumo-next.service") ||
           fs::exists(folder_ / "units/vellumo-next.timer");
  }

  test::TempFolder folder_;
  std::string saved_path_;
  std::vector<std::pair<std::string, std::string>> saved_;
  int socket_ = -1;
};

TEST_F(SystemdScheduleTest, SetWritesBothUnitsHandsOverTheSessionAndStartsTheTimer) {
  StartManager();
  SystemdScheduledChange schedule = Schedule();
  EXPECT_EQ(schedule.Unavailable(), "");
  EXPECT_EQ(schedule.Set(60), "");
  EXPECT_EQ(test::ReadFile(folder_ / "units/vellumo-next.timer"), NextTimerText(60));
  EXPECT_EQ(test::ReadFile(folder_ / "units/vellumo-next.service"),
            NextServiceText("/opt/vellumo/vellumo"));
  EXPECT_EQ(
      TakeCalls(),
      (Calls{"systemctl\t--user\timport-environment\tDISPLAY\tXDG_CURRENT_DESKTOP\t"
             "DBUS_SESSION_BUS_ADDRESS",
             "systemctl\t--user\tunset-environment\tWAYLAND_DISPLAY\tXAUTHORITY\t"
             "DESKTOP_SESSION\tSWAYSOCK\tHYPRLAND_INSTANCE_SIGNATURE",
             "systemctl\t--user\tdaemon-reload", "systemctl\t--user\tenable\tvellumo-next.timer",
             "systemctl\t--user\trestart\tvellumo-next.timer"}));

  test::WriteFile(folder_ / "units/timers.target.wants/vellumo-next.timer", "");
  schedule.Remove();
  EXPECT_FALSE(UnitsThere());
  EXPECT_FALSE(fs::exists(folder_ / "units/timers.target.wants/vellumo-next.timer"));
  EXPECT_EQ(TakeCalls(), (Calls{"systemctl\t--user\tdisable\t--now\tvellumo-next.timer",
                                "systemctl\t--user\tdaemon-reload",
                                "systemctl\t--user\treset-failed\tvellumo-next.service\t"
                                "vellumo-next.timer"}));
  schedule.Remove();
  EXPECT_EQ(TakeCalls(), Calls{}) << "nothing left to remove";
}

TEST_F(SystemdScheduleTest, ARefusalIsReportedWithTheCommand) {
  StartManager();
  setenv("REFUSE", "enable", 1);
  EXPECT_EQ(Schedule().Set(15),
            "systemctl --user enable vellumo-next.timer: exit 1: Failed to enable: Access denied");
}

TEST_F(SystemdScheduleTest, WithoutAUserManagerNothingIsSetAndLeftoversStillGo) {
  SystemdScheduledChange schedule = Schedule();
  EXPECT_EQ(schedule.Unavailable(),
            "Needs systemd's user manager, which does not run in this session.");
  EXPECT_EQ(schedule.Set(15), schedule.Unavailable());
  EXPECT_FALSE(UnitsThere());
  test::WriteFile(folder_ / "units/vellumo-next.timer", NextTimerText(15));
  schedule.Remove();
  EXPECT_FALSE(UnitsThere());
  EXPECT_EQ(TakeCalls(), Calls{});
}

TEST_F(SystemdScheduleTest, AProgramSystemdWouldNotStartIsNotScheduled) {
  StartManager();
  for (const char* path : {"/opt/it's/vellumo", "/opt/q\"uote/vellumo", "/opt/back\\slash/vellumo",
                           "/opt/line\nbreak/vellumo"}) {
    SystemdScheduledChange schedule(folder_ / "units", path, folder_ / "runtime");
    EXPECT_NE(schedule.Unavailable().find("quote, a backslash or a line break"), std::string::npos)
        << path;
  }
}

// A login's run hands the new session over; a run from a console would take it away.
TEST_F(SystemdScheduleTest, RefreshHandsOverADisplaysSessionWhileTheUnitsAreThere) {
  StartManager();
  SystemdScheduledChange schedule = Schedule();
  schedule.Refresh();
  EXPECT_EQ(TakeCalls(), Calls{}) << "no schedule set";
  ASSERT_EQ(schedule.Set(15), "");
  TakeCalls();
  schedule.Refresh();
  EXPECT_EQ(TakeCalls().size(), 2u);
  unsetenv("DISPLAY");
  schedule.Refresh();
  EXPECT_EQ(TakeCalls(), Calls{});
}

}  // namespace
}  // namespace vellumo
