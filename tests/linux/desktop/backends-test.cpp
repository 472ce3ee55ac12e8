// The desktops driven by commands (XFCE, LXQt, LXDE, Sway, Hyprland), against stand-ins first on
// PATH that log their arguments; the retry while a desktop's service is missing; and the time
// limit on every command.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "command.h"
#include "hyprland_wallpaper.h"
#include "linux_desktop.h"
#include "pcmanfm_wallpaper.h"
#include "retry.h"
#include "sway_wallpaper.h"
#include "temp_folder.h"
#include "xfce_wallpaper.h"

namespace vellumo {
namespace {

using namespace std::chrono_literals;
using Outcome = BackendResult::Outcome;
using Calls = std::vector<std::string>;

// Every stand-in logs its name and arguments, tab-separated, one line per call, then runs the
// body the test gave it.
constexpr char kLogCall[] = R"(#!/bin/sh
line="${0##*/}"
for arg in "$@"; do line="$line	$arg"; done
printf '%s\n' "$line" >> "$FAKE_DIR/log"
)";

constexpr char kXrandrTwoMonitors[] =
    "printf 'Monitors: 2\\n 0: +*HDMI-1 1920/530x1080/300+0+0  HDMI-1\\n"
    " 1: +eDP-1 1366/310x768/170+1920+0  eDP-1\\n'";

struct LayoutWords {
  Layout layout;
  const char* mode;        // pcmanfm, pcmanfm-qt and swaymsg
  const char* xfce_style;  // xfconf image-style
  const char* hypr_prefix;
};

void PrintTo(const LayoutWords& words, std::ostream* out) {
  *out << words.mode;
}

std::string Line(const std::vector<std::string>& words) {
  std::string line;
  for (const std::string& word : words) line += (line.empty() ? "" : "\t") + word;
  return line;
}

class CommandBackendsTest : public ::testing::TestWithParam<LayoutWords> {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(folder_.path() / "bin");
    saved_path_ = std::getenv("PATH") ? std::getenv("PATH") : "";
    // Only the stand-ins: a desktop's real tools on this machine (pcmanfm-qt, xrandr) must not
    // answer in their place. The stand-ins need nothing but their shell's builtins.
    setenv("PATH", (folder_ / "bin").c_str(), 1);
    setenv("FAKE_DIR", folder_.path().c_str(), 1);
    picture_ = folder_ / "pictures/vellumo 1.png";
    test::WriteFile(picture_, "png");
  }
  void TearDown() override {
    setenv("PATH", saved_path_.c_str(), 1);
    unsetenv("FAKE_DIR");
  }

  void Fake(const std::string& program, const std::string& body = "") {
    const std::string path = folder_ / ("bin/" + program);
    test::WriteFile(path, std::string(kLogCall) + body + "\n");
    chmod(path.c_str(), 0755);
  }

  Calls TakeCalls() {
    Calls calls;
    std::ifstream file(folder_ / "log");
    for (std::string line; std::getline(file, line);) calls.push_back(line);
    std::filesystem::remove(folder_ / "log");
    return calls;
  }

  test::TempFolder folder_;
  std::string saved_path_;
  std::string picture_;
};

TEST_P(CommandBackendsTest, LxqtLxdeAndSwayGetTheirModeWords) {
  const LayoutWords& words = GetParam();
  Fake("pcmanfm-qt");
  Fake("pcmanfm");
  Fake("swaymsg");
  ASSERT_TRUE(PcmanfmWallpaper("pcmanfm-qt").Set(picture_, words.layout).ok());
  ASSERT_TRUE(PcmanfmWallpaper("pcmanfm").Set(picture_, words.layout).ok());
  ASSERT_TRUE(SwayWallpaper("").Set(picture_, words.layout).ok());
  const std::string mode = std::string("--wallpaper-mode=") + words.mode;
  EXPECT_EQ(TakeCalls(), (Calls{Line({"pcmanfm-qt", "--set-wallpaper=" + picture_, mode}),
                                Line({"pcmanfm", "--set-wallpaper=" + picture_, mode}),
                                Line({"swaymsg", "output", "*", "bg",
                                      SwayPathArgument(picture_).value(), words.mode})}));
}

TEST_P(CommandBackendsTest, XfceSetsEveryMonitorAndWorkspaceItHas) {
  const LayoutWords& words = GetParam();
  Fake("xfconf-query",
       "[ \"$3\" = -l ] && printf '%s\\n' /backdrop/screen0/monitorHDMI-1/workspace0/last-image "
       "/backdrop/screen0/monitorHDMI-1/workspace0/image-style "
       "/backdrop/screen0/monitorHDMI-1/workspace1/last-image; exit 0");
  ASSERT_TRUE(XfceWallpaper().Set(picture_, words.layout).ok());
  Calls expected = {Line({"xfconf-query", "-c", "xfce4-desktop", "-l"})};
  for (const char* workspace : {"workspace0", "workspace1"}) {
    const std::string key = std::string("/backdrop/screen0/monitorHDMI-1/") + workspace;
    expected.push_back(Line({"xfconf-query", "-c", "xfce4-desktop", "-p", key + "/image-style",
                             "-n", "-t", "int", "-s", words.xfce_style}));
    expected.push_back(Line({"xfconf-query", "-c", "xfce4-desktop", "-p", key + "/last-image", "-n",
                             "-t", "string", "-s", picture_}));
  }
  EXPECT_EQ(TakeCalls(), expected);
}

TEST_P(CommandBackendsTest, HyprlandPreloadsThenSetsEveryMonitor) {
  const LayoutWords& words = GetParam();
  Fake("hyprctl",
       "[ \"$1\" = monitors ] && printf 'Monitor DP-1 (ID 0):\\n\\t1920x1080\\n"
       "Monitor HDMI-A-1 (ID 1):\\n' && exit 0\necho ok");
  ASSERT_TRUE(HyprlandWallpaper().Set(picture_, words.layout).ok());
  const std::string value = std::string(words.hypr_prefix) + picture_;
  EXPECT_EQ(TakeCalls(), (Calls{Line({"hyprctl", "hyprpaper", "preload", picture_}),
                                Line({"hyprctl", "monitors"}),
                                Line({"hyprctl", "hyprpaper", "wallpaper", "DP-1," + value}),
                                Line({"hyprctl", "hyprpaper", "wallpaper", "HDMI-A-1," + value}),
                                Line({"hyprctl", "hyprpaper", "unload", "unused"})}));
}

INSTANTIATE_TEST_SUITE_P(Layouts, CommandBackendsTest,
                         ::testing::Values(LayoutWords{Layout::kTiled, "tile", "2", "tile:"},
                                           LayoutWords{Layout::kCentered, "center", "1",
                                                       "contain:"},
                                           LayoutWords{Layout::kStretched, "stretch", "3", ""}));

using CommandBackendTest = CommandBackendsTest;

TEST_F(CommandBackendTest, XfceCreatesTheMonitorsKeysOnAFreshInstall) {
  Fake("xfconf-query",
       "[ \"$3\" = -l ] && echo 'Channel \"xfce4-desktop\" contains no properties' >&2 && exit 1\n"
       "exit 0");
  Fake("xrandr", kXrandrTwoMonitors);
  ASSERT_TRUE(XfceWallpaper().Set(picture_, Layout::kStretched).ok());
  const Calls calls = TakeCalls();
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_EQ(calls[1], Line({"xrandr", "--listactivemonitors"}));
  EXPECT_EQ(calls[3], Line({"xfconf-query", "-c", "xfce4-desktop", "-p",
                            "/backdrop/screen0/monitorHDMI-1/workspace0/last-image", "-n", "-t",
                            "string", "-s", picture_}));
  EXPECT_NE(calls[5].find("/backdrop/screen0/monitoreDP-1/workspace0/last-image"),
            std::string::npos);

  // Without xrandr's answer, the name older xfdesktop versions read.
  Fake("xrandr", "exit 1");
  ASSERT_TRUE(XfceWallpaper().Set(picture_, Layout::kStretched).ok());
  EXPECT_NE(TakeCalls().back().find("/backdrop/screen0/monitor0/workspace0/last-image"),
            std::string::npos);
}

TEST_F(CommandBackendTest, MissingServicesAreToldApartFromFailures) {
  // xfconfd not answering yet, and a real refusal.
  Fake("xfconf-query", "echo 'Failed to init libxfconf: no session bus' >&2; exit 1");
  BackendResult result = XfceWallpaper().Set(picture_, Layout::kTiled);
  EXPECT_EQ(result.outcome, Outcome::kServiceMissing);
  EXPECT_EQ(result.failure,
            "xfconf-query failed (exit 1: Failed to init libxfconf: no session bus)");
  Fake("xfconf-query", "[ \"$3\" = -l ] && exit 0; echo 'Permission denied' >&2; exit 1");
  Fake("xrandr", "exit 1");
  result = XfceWallpaper().Set(picture_, Layout::kTiled);
  EXPECT_EQ(result.outcome, Outcome::kFailed);
  EXPECT_EQ(result.failure,
            "xfconf-query -p /backdrop/screen0/monitor0/workspace0/image-style failed (exit 1: "
            "Permission denied)");

  // Sway's socket not made yet; swaymsg that cannot connect.
  result = SwayWallpaper(folder_ / "sway-ipc.sock").Set(picture_, Layout::kTiled);
  EXPECT_EQ(result.outcome, Outcome::kServiceMissing);
  Fake("swaymsg", "echo 'Unable to connect to /run/sway.sock' >&2; exit 1");
  EXPECT_EQ(SwayWallpaper("").Set(picture_, Layout::kTiled).outcome, Outcome::kServiceMissing);

  // hyprpaper not running yet.
  Fake("hyprctl", "echo \"Couldn't connect to /run/user/1/hypr/x/.hyprpaper.sock. (3)\"");
  EXPECT_EQ(HyprlandWallpaper().Set(picture_, Layout::kTiled).outcome, Outcome::kServiceMissing);

  // A desktop program that is not installed will not appear by waiting.
  result = PcmanfmWallpaper("pcmanfm-qt").Set(picture_, Layout::kTiled);
  EXPECT_EQ(result.outcome, Outcome::kFailed);
  EXPECT_EQ(result.failure, "pcmanfm-qt failed (not found)");
}

TEST_F(CommandBackendTest, OlderHyprpaperWithoutLayoutPrefixesGetsThePlainPicture) {
  Fake("hyprctl",
       "[ \"$1\" = monitors ] && exit 0\n"
       "case \"$3\" in *tile:*) echo 'wallpaper failed (invalid path)'; exit 0;; esac\necho ok");
  const BackendResult result = HyprlandWallpaper().Set(picture_, Layout::kTiled);
  ASSERT_TRUE(result.ok()) << result.failure;
  const Calls calls = TakeCalls();
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_EQ(calls[2], Line({"hyprctl", "hyprpaper", "wallpaper", ",tile:" + picture_}));
  EXPECT_EQ(calls[3], Line({"hyprctl", "hyprpaper", "wallpaper", "," + picture_}));
}

// Through the whole desktop: the service comes up on the third look.
TEST_F(CommandBackendTest, WaitsForAServiceThatIsStillStarting) {
  Fake("xfconf-query",
       "n=0; [ -f \"$FAKE_DIR/tries\" ] && read n < \"$FAKE_DIR/tries\"\n"
       "echo $((n + 1)) > \"$FAKE_DIR/tries\"\n"
       "[ \"$n\" -lt 2 ] && echo 'xfconfd is not running' >&2 && exit 1\n"
       "[ \"$3\" = -l ] && echo /backdrop/screen0/monitor0/workspace0/last-image\nexit 0");
  DesktopEnvironment environment;
  environment.xdg_current_desktop = "XFCE";
  LinuxDesktopOptions options;
  options.retry = {5s, 20ms, 40ms};
  std::vector<std::string> reports;
  options.report = [&](const std::string& line) { reports.push_back(line); };
  std::string failure;
  EXPECT_TRUE(LinuxDesktop(environment, options).SetWallpaper(picture_, Layout::kTiled, &failure))
      << failure;
  EXPECT_EQ(TakeCalls().size(), 5u);  // two lists refused, one answered, two sets
  EXPECT_EQ(reports, (std::vector<std::string>{
                         "desktop: XFCE (XDG_CURRENT_DESKTOP=XFCE)",
                         "XFCE is not ready (xfconf-query failed (exit 1: xfconfd is not "
                         "running)); trying again for up to 5 s"}));
}

TEST(RetryTest, GivesUpWithinItsBound) {
  int attempts = 0;
  const auto start = std::chrono::steady_clock::now();
  const BackendResult result = SetWithRetry(
      [&] {
        ++attempts;
        return BackendResult::Missing("not on the bus");
      },
      {300ms, 20ms, 80ms});
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(result.outcome, Outcome::kServiceMissing);
  EXPECT_EQ(result.failure, "not on the bus");
  EXPECT_GE(took, 300ms);
  EXPECT_LT(took, 1s);
  EXPECT_GE(attempts, 4);  // 20, 40, 80, 80, ... ms apart

  // A real failure is not retried.
  attempts = 0;
  SetWithRetry(
      [&] {
        ++attempts;
        return BackendResult::Failed("refused");
      },
      {300ms, 20ms, 80ms});
  EXPECT_EQ(attempts, 1);
}

bool Gone(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text;
  std::getline(stat, text);
  // Gone, or a zombie waiting for whoever adopted it.
  return text.empty() || text.find(") Z") != std::string::npos;
}

TEST(RunCommandTest, TheTimeLimitEndsTheProgramAndWhatItStarted) {
  test::TempFolder folder;
  const std::string pid_file = folder / "grandchild";
  const auto start = std::chrono::steady_clock::now();
  const CommandResult result =
      RunCommand({"sh", "-c", "sleep 30 & echo $! > '" + pid_file + "'; wait"}, 500ms);
  EXPECT_TRUE(result.timed_out);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  const std::string grandchild = test::ReadFile(pid_file);
  ASSERT_FALSE(grandchild.empty());
  const pid_t pid = std::stoi(grandchild);
  for (int i = 0; i < 100 && !Gone(pid); ++i) std::this_thread::sleep_for(10ms);
  EXPECT_TRUE(Gone(pid)) << "the grandchild " << pid << " outlived the time limit";
  if (!Gone(pid)) kill(pid, SIGKILL);
}

}  // namespace
}  // namespace vellumo
