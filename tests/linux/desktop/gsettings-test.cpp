// The gsettings back-end, against a stand-in `gsettings` first on PATH that logs every call and
// keeps the keys it knows as files, and the messages when no desktop can be reached.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bitmap24.h"
#include "command.h"
#include "gsettings_wallpaper.h"
#include "linux_desktop.h"
#include "temp_folder.h"

namespace vellumo {
namespace {

using test::Bmp24;
using test::Solid;
using test::TempFolder;
using test::WriteFile;
using namespace std::chrono_literals;

constexpr char kGnome[] = "org.gnome.desktop.background";

// Logs its arguments, tab-separated, one line per call. Hangs, as on a D-Bus that does not
// answer, when VELLUMO_TEST_GSETTINGS_HANG is set. Fails every call whose verb is in
// VELLUMO_TEST_GSETTINGS_FAIL ("any" for all). A key exists when its file does.
constexpr char kFakeGsettings[] = R"(#!/bin/sh
dir="$VELLUMO_TEST_GSETTINGS_DIR"
line=""
sep=""
for arg in "$@"; do line="$line$sep$arg"; sep="	"; done
printf '%s\n' "$line" >> "$dir/log"
if [ -n "$VELLUMO_TEST_GSETTINGS_HANG" ]; then exec /bin/sleep 30; fi
case "$VELLUMO_TEST_GSETTINGS_FAIL" in
  "$1"|any) echo "fake failure" >&2; exit 1;;
esac
key="$dir/keys/$2 $3"
if [ ! -f "$key" ]; then echo "No such key \"$3\"" >&2; exit 1; fi
case "$1" in
  get) IFS= read -r value < "$key"; printf '%s\n' "$value";;
  set) printf '%s\n' "$4" > "$key";;
  *) exit 2;;
esac
)";

std::string Join(std::initializer_list<std::string> parts) {
  std::string line;
  for (const std::string& part : parts) line += (line.empty() ? "" : "\t") + part;
  return line;
}

class GsettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(folder_ / "bin");
    std::filesystem::create_directories(folder_ / "keys");
    std::string script = folder_ / "bin/gsettings";
    std::ofstream(script) << kFakeGsettings;
    chmod(script.c_str(), 0755);
    const char* path = std::getenv("PATH");
    saved_path_ = path ? path : "";
    setenv("PATH", (folder_ / "bin").c_str(), 1);
    setenv("VELLUMO_TEST_GSETTINGS_DIR", folder_.path().c_str(), 1);
    unsetenv("VELLUMO_TEST_GSETTINGS_FAIL");
    bitmap_ = MakeBitmap("pictures");
  }

  void TearDown() override {
    setenv("PATH", saved_path_.c_str(), 1);
    unsetenv("VELLUMO_TEST_GSETTINGS_DIR");
    unsetenv("VELLUMO_TEST_GSETTINGS_FAIL");
    unsetenv("VELLUMO_TEST_GSETTINGS_HANG");
  }

  std::string MakeBitmap(const std::string& sub_folder) {
    const std::string bitmap = folder_ / (sub_folder + "/vellumo.bmp");
    WriteFile(bitmap, Bmp24(1, 1, Solid(test::kBlack)));
    return bitmap;
  }

  void KnowKeys(const std::string& schema, std::initializer_list<std::string> keys) {
    for (const std::string& key : keys) {
      std::ofstream(folder_ / ("keys/" + schema + " " + key)) << "''\n";
    }
  }
  void KnowGnomeKeys() { KnowKeys(kGnome, {"picture-options", "picture-uri", "picture-uri-dark"}); }

  std::string Key(const std::string& schema, const std::string& key) {
    std::ifstream file(folder_ / ("keys/" + schema + " " + key));
    std::string value;
    std::getline(file, value);
    return value;
  }

  // The calls since the previous look.
  std::vector<std::string> TakeCalls() {
    std::vector<std::string> calls;
    std::string log = folder_ / "log";
    std::ifstream file(log);
    for (std::string line; std::getline(file, line);) calls.push_back(line);
    std::filesystem::remove(log);
    return calls;
  }

  bool Set(const std::string& desktop, Layout layout, const std::string& display = "") {
    failure_.clear();
    DesktopEnvironment environment;
    environment.xdg_current_desktop = desktop;
    environment.display = display;
    LinuxDesktopOptions options;
    options.report = [this](const std::string& line) { reports_.push_back(line); };
    LinuxDesktop linux_desktop(environment, options);
    return linux_desktop.SetWallpaper(bitmap_, layout, &failure_);
  }

  TempFolder folder_;
  std::string saved_path_;
  std::string bitmap_;
  std::string failure_;
  std::vector<std::string> reports_;
};

TEST_F(GsettingsTest, GnomeSetsTheOptionsFirstThenBothPictures) {
  KnowGnomeKeys();
  std::string uri = "'file://" + bitmap_ + "'";
  const std::pair<Layout, const char*> cases[] = {{Layout::kTiled, "'wallpaper'"},
                                                  {Layout::kCentered, "'centered'"},
                                                  {Layout::kStretched, "'stretched'"}};
  for (const auto& [layout, option] : cases) {
    KnowGnomeKeys();  // fresh keys: the usual spelling every time
    ASSERT_TRUE(Set("GNOME", layout)) << failure_;
    EXPECT_EQ(TakeCalls(), (std::vector<std::string>{
                               Join({"get", kGnome, "picture-uri"}),
                               Join({"get", kGnome, "picture-uri-dark"}),
                               Join({"set", kGnome, "picture-options", option}),
                               Join({"set", kGnome, "picture-uri", uri}),
                               Join({"set", kGnome, "picture-uri-dark", uri}),
                           }));
    EXPECT_EQ(Key(kGnome, "picture-options"), option);
  }
}

TEST_F(GsettingsTest, EachDesktopFamilyUsesItsSchema) {
  for (const char* desktop : {"ubuntu:GNOME", "Budgie:GNOME", "Unity", "pantheon"}) {
    KnowGnomeKeys();
    ASSERT_TRUE(Set(desktop, Layout::kStretched)) << desktop << ": " << failure_;
    EXPECT_EQ(TakeCalls().size(), 5u) << desktop;
    EXPECT_EQ(Key(kGnome, "picture-uri"), "'file://" + bitmap_ + "'") << desktop;
  }

  const char* cinnamon = "org.cinnamon.desktop.background";
  KnowKeys(cinnamon, {"picture-options", "picture-uri"});
  ASSERT_TRUE(Set("X-Cinnamon", Layout::kCentered)) << failure_;
  EXPECT_EQ(TakeCalls(), (std::vector<std::string>{
                             Join({"get", cinnamon, "picture-uri"}),
                             Join({"set", cinnamon, "picture-options", "'centered'"}),
                             Join({"set", cinnamon, "picture-uri", "'file://" + bitmap_ + "'"}),
                         }));

  const char* mate = "org.mate.background";
  KnowKeys(mate, {"picture-options", "picture-filename"});
  ASSERT_TRUE(Set("MATE", Layout::kTiled)) << failure_;
  EXPECT_EQ(TakeCalls(), (std::vector<std::string>{
                             Join({"get", mate, "picture-filename"}),
                             Join({"set", mate, "picture-options", "'wallpaper'"}),
                             Join({"set", mate, "picture-filename", "'" + bitmap_ + "'"}),
                         }));
}

TEST_F(GsettingsTest, AwkwardFolderNamesSurvive) {
  std::string folder = "My Pictures #1 100% été 壁紙 it's $HOME";
  bitmap_ = MakeBitmap(folder);
  KnowGnomeKeys();
  ASSERT_TRUE(Set("GNOME", Layout::kStretched)) << failure_;
  std::string encoded =
      "My%20Pictures%20%231%20100%25%20%C3%A9t%C3%A9%20%E5%A3%81%E7%B4%99%20it%27s%20%24HOME";
  EXPECT_EQ(Key(kGnome, "picture-uri"), "'file://" + folder_ / encoded + "/vellumo.bmp'");

  const char* mate = "org.mate.background";
  KnowKeys(mate, {"picture-options", "picture-filename"});
  ASSERT_TRUE(Set("MATE", Layout::kStretched)) << failure_;
  EXPECT_EQ(Key(mate, "picture-filename"),
            "'" + folder_ / "My Pictures #1 100% été 壁紙 it\\'s $HOME/vellumo.bmp'");
}

// The bitmap keeps its name from one change to the next; the key must change all the same.
TEST_F(GsettingsTest, SameFileIsSpelledDifferentlyEveryOtherChange) {
  KnowGnomeKeys();
  std::string usual = "'file://" + bitmap_ + "'";
  std::string folder = bitmap_.substr(0, bitmap_.rfind('/'));
  std::string other = "'file://" + folder + "/%76ellumo.bmp'";
  for (const std::string& expected : {usual, other, usual, other}) {
    ASSERT_TRUE(Set("GNOME", Layout::kStretched)) << failure_;
    EXPECT_EQ(Key(kGnome, "picture-uri"), expected);
    EXPECT_EQ(Key(kGnome, "picture-uri-dark"), expected);
  }
  // Each key is judged on its own value.
  std::ofstream(folder_ / (std::string("keys/") + kGnome + " picture-uri-dark")) << usual << "\n";
  ASSERT_TRUE(Set("GNOME", Layout::kStretched)) << failure_;
  EXPECT_EQ(Key(kGnome, "picture-uri"), usual);
  EXPECT_EQ(Key(kGnome, "picture-uri-dark"), other);

  const char* mate = "org.mate.background";
  KnowKeys(mate, {"picture-options", "picture-filename"});
  ASSERT_TRUE(Set("MATE", Layout::kStretched)) << failure_;
  ASSERT_TRUE(Set("MATE", Layout::kStretched)) << failure_;
  EXPECT_EQ(Key(mate, "picture-filename"), "'" + folder + "/./vellumo.bmp'");
}

TEST_F(GsettingsTest, OlderGnomeWithoutTheDarkKey) {
  KnowKeys(kGnome, {"picture-options", "picture-uri"});
  ASSERT_TRUE(Set("GNOME", Layout::kCentered)) << failure_;
  EXPECT_EQ(TakeCalls(), (std::vector<std::string>{
                             Join({"get", kGnome, "picture-uri"}),
                             Join({"get", kGnome, "picture-uri-dark"}),
                             Join({"set", kGnome, "picture-options", "'centered'"}),
                             Join({"set", kGnome, "picture-uri", "'file://" + bitmap_ + "'"}),
                         }));
}

TEST_F(GsettingsTest, FailureIsReportedWithWhatWasTried) {
  KnowGnomeKeys();
  setenv("VELLUMO_TEST_GSETTINGS_FAIL", "set", 1);
  EXPECT_FALSE(Set("GNOME", Layout::kStretched));
  EXPECT_EQ(failure_, "GNOME: gsettings failed (exit 1: fake failure)");
  EXPECT_EQ(TakeCalls().size(), 3u);  // two gets, then the failing options
  EXPECT_EQ(reports_, std::vector<std::string>{"desktop: GNOME (XDG_CURRENT_DESKTOP=GNOME)"});

  // GNOME paints over the X root window: setting that instead would change nothing visible.
  EXPECT_FALSE(Set("GNOME", Layout::kStretched, ":9876"));
  EXPECT_EQ(failure_, "GNOME: gsettings failed (exit 1: fake failure)");

  unsetenv("VELLUMO_TEST_GSETTINGS_FAIL");
  std::filesystem::remove(folder_ / (std::string("keys/") + kGnome + " picture-uri"));
  EXPECT_FALSE(Set("GNOME", Layout::kStretched));
  EXPECT_EQ(failure_, "GNOME: gsettings failed (exit 1: No such key \"picture-uri\")");

  std::filesystem::remove(folder_ / "bin/gsettings");
  EXPECT_FALSE(Set("GNOME", Layout::kStretched));
  EXPECT_EQ(failure_, "GNOME: gsettings failed (not found)");
}

TEST_F(GsettingsTest, HangingGsettingsIsKilledAtTheDeadline) {
  KnowGnomeKeys();
  setenv("VELLUMO_TEST_GSETTINGS_HANG", "1", 1);
  const auto start = std::chrono::steady_clock::now();
  std::string failure;
  EXPECT_FALSE(SetWallpaperWithGsettings(DesktopFamily::kGnome, bitmap_, Layout::kTiled, failure,
                                         std::chrono::milliseconds(500)));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(failure, "gsettings did not answer within 0.5 s");
  // One deadline for the whole change: nothing more is tried once it has passed.
  EXPECT_EQ(TakeCalls(), std::vector<std::string>{Join({"get", kGnome, "picture-uri"})});
}

TEST(RunCommand, DeadlineEndsAProgramThatKeepsItsOutputOpen) {
  const auto start = std::chrono::steady_clock::now();
  const CommandResult quiet = RunCommand({"sleep", "30"}, start + std::chrono::milliseconds(300));
  EXPECT_TRUE(quiet.started);
  EXPECT_TRUE(quiet.timed_out);
  EXPECT_EQ(DescribeFailure(quiet), "no answer in time");

  // Closing its output does not end the wait either: the exit is what counts.
  const CommandResult lingering =
      RunCommand({"sh", "-c", "exec >&- 2>&-; exec sleep 30"},
                 std::chrono::steady_clock::now() + std::chrono::milliseconds(300));
  EXPECT_TRUE(lingering.timed_out);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));

  const CommandResult quick =
      RunCommand({"sh", "-c", "echo hi; exit 3"}, std::chrono::steady_clock::now() + 5s);
  EXPECT_FALSE(quick.timed_out);
  EXPECT_EQ(quick.exit_code, 3);
  EXPECT_EQ(quick.output, "hi\n");
}

TEST_F(GsettingsTest, NoDesktopAtAll) {
  EXPECT_FALSE(Set("", Layout::kStretched));
  EXPECT_EQ(failure_,
            "no desktop to set the wallpaper on: XDG_CURRENT_DESKTOP is not set and DISPLAY is "
            "not set");
  EXPECT_FALSE(Set("i3", Layout::kStretched));
  EXPECT_EQ(failure_,
            "no desktop to set the wallpaper on: XDG_CURRENT_DESKTOP \"i3\" is not a desktop we "
            "know and DISPLAY is not set");
  EXPECT_TRUE(TakeCalls().empty());
  EXPECT_TRUE(reports_.empty()) << "no desktop was chosen";

  // A missing bitmap is reported before any desktop is touched.
  KnowGnomeKeys();
  bitmap_ = folder_ / "missing.bmp";
  EXPECT_FALSE(Set("GNOME", Layout::kStretched, ":0"));
  EXPECT_EQ(failure_, "cannot read the bitmap \"" + bitmap_ + "\"");
  EXPECT_TRUE(TakeCalls().empty());

  // The caller may not want the text.
  LinuxDesktop quiet({});
  EXPECT_FALSE(quiet.SetWallpaper(bitmap_, Layout::kTiled, nullptr));
}

}  // namespace
}  // namespace vellumo
