// Runs the real program with temporary XDG folders on real files.
// GoogleTest before Xlib, whose macros (None, Bool, Status) would clash with its names.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <thread>
#include <vector>

#include "bitmap24.h"
#include "png_pixels.h"
#include "temp_folder.h"
#include "xvfb_server.h"

namespace vellumo {
namespace {

namespace fs = std::filesystem;
using test::Bmp24;
using test::NamesStartingWith;
using test::ReadFile;
using test::ReadPng;
using test::Rgb;
using test::Solid;
using test::TempFolder;
using test::WriteFile;
using test::XvfbServer;

struct RunResult {
  int status = -1;
  std::string stderr_text;
};

// A throwaway user: home, XDG folders, a copy of the program (so its wallpaper file lands beside
// it, in the temporary folder) and a gsettings stand-in that logs its arguments.
class BackgroundRun : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(temp_.path() / "bin");
    fs::copy_file(VELLUMO_EXE, exe());
    WriteFile(temp_.path() / "tools/gsettings",
              "#!/bin/sh\n"
              "printf '%s|' \"$@\" >> \"$GSETTINGS_LOG\"\necho >> \"$GSETTINGS_LOG\"\n"
              "[ \"$1\" = get ] && echo \"''\"\n"
              "exit ${GSETTINGS_EXIT:-0}\n");
    fs::permissions(temp_.path() / "tools/gsettings", fs::perms::owner_all);
    env_ = {{"HOME", temp_ / "home"},
            {"XDG_CONFIG_HOME", temp_ / "config"},
            {"XDG_DATA_HOME", temp_ / "data"},
            {"PATH", temp_ / "tools" + ":/usr/bin:/bin"},
            {"GSETTINGS_LOG", temp_ / "gsettings.log"},
            {"XDG_CURRENT_DESKTOP", "GNOME"}};
    // A sanitizer build's program reads its options (suppressions) as the test does.
    for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"}) {
      if (const char* value = std::getenv(name)) env_[name] = value;
    }
  }

  std::string exe() const { return temp_ / "bin/vellumo"; }
  // The names beside the program that start with "vellumo-": our wallpaper files,
  // vellumo-XXXXXX.png, and whatever else a test put there.
  std::vector<std::string> WallpaperFiles() const {
    return NamesStartingWith(temp_ / "bin", "vellumo-");
  }
  // The one wallpaper file there is in steady state; "" when there is none or more than one.
  std::string Wallpaper() const {
    auto names = WallpaperFiles();
    std::erase_if(names, [](const std::string& name) { return !name.ends_with(".png"); });
    EXPECT_EQ(names.size(), 1u) << ::testing::PrintToString(names);
    return names.size() == 1 ? temp_ / ("bin/" + names[0]) : "";
  }
  test::Picture Shown() const { return ReadPng(Wallpaper()).value_or(test::Picture{}); }
  std::string settings_file() const { return temp_ / "config/vellumo/settings.ini"; }
  std::string GsettingsLog() const { return ReadFile(temp_ / "gsettings.log"); }

  void Settings(const std::string& lines) { WriteFile(settings_file(), "[Settings]\n" + lines); }

  std::string Picture(const std::string& relative, int width = 8, int height = 6,
                      Rgb colour = {30, 200, 10}) {
    const auto path = temp_.path() / "pictures" / relative;
    WriteFile(path, Bmp24(width, height, Solid(colour)));
    return path.string();
  }

  // Starts the program with its standard error going to `err_path`; 0 when it did not start.
  pid_t Start(std::vector<std::string> args, const std::string& err_path) {
    std::vector<std::string> env_text;
    for (const auto& [name, value] : env_) env_text.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (auto& text : env_text) envp.push_back(text.data());
    envp.push_back(nullptr);
    args.insert(args.begin(), exe());
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid = 0;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
  }

  static RunResult Finish(pid_t pid, const std::string& err_path) {
    RunResult result;
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid)
      result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.stderr_text = ReadFile(err_path);
    return result;
  }

  RunResult Run(std::vector<std::string> args) {
    const std::string err_path = temp_ / "stderr.txt";
    return Finish(Start(std::move(args), err_path), err_path);
  }

  std::string Setting(const std::string& key) {
    const std::string text = ReadFile(settings_file());
    const auto at = text.find("\n" + key + "=");
    if (at == std::string::npos) return "<absent>";
    const auto start = at + key.size() + 2;
    return text.substr(start, text.find('\n', start) - start);
  }

  TempFolder temp_;
  std::map<std::string, std::string> env_;
};

TEST_F(BackgroundRun, ChangesTheWallpaperThroughGsettingsInListOrder) {
  const std::string first = Picture("a.bmp");
  const std::string second = Picture("b.BMP", 640, 480);
  Picture("notes.txt");
  Settings("bRandom=False\nbFadeOut=False\niSourceType=1\nsSourceFolder=" + temp_ / "pictures" +
           "\nsLastFile=" + first + "\n");

  const auto result = Run({"-next"});
  ASSERT_EQ(result.status, 0) << result.stderr_text;
  EXPECT_EQ(result.stderr_text, "vellumo: desktop: GNOME (XDG_CURRENT_DESKTOP=GNOME)\n");

  EXPECT_EQ(Setting("sLastFile"), second);
  // Anything but a complete PNG reads back as 0 x 0.
  const auto written = Shown();
  EXPECT_EQ(written.width, 640);
  EXPECT_EQ(written.height, 480);
  const std::string log = GsettingsLog();
  EXPECT_NE(log.find("set|org.gnome.desktop.background|picture-options|'stretched'|"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("picture-uri|'file://" + Wallpaper() + "'"), std::string::npos) << log;
  EXPECT_NE(log.find("picture-uri-dark|'file://"), std::string::npos) << log;
}

TEST_F(BackgroundRun, StoresTheSevenSettingsAndTheLastFile) {
  Picture("only.jpg.bmp");
  Settings("bRandom=0\niSourceType=1\niDisplayType=3\nsSourceFolder=" + temp_ / "pictures" + "\n");
  ASSERT_EQ(Run({"-NEXT"}).status, 0);
  EXPECT_EQ(ReadFile(settings_file()),
            "[Settings]\nbRandom=False\niSourceType=1\niDisplayType=3\nsSourceFolder=" +
                temp_ / "pictures" + "\n" +
                "bRepeats=False\nbFadeOut=True\niAutoSize=300\niAutoRatio=10\nsLastFile=" +
                temp_ / "pictures/only.jpg.bmp" + "\n");
  EXPECT_NE(GsettingsLog().find("picture-options|'wallpaper'|"), std::string::npos);
}

TEST_F(BackgroundRun, WalksAFolderTreeWithNamesOutsideAscii) {
  Picture("桜/夜桜.bmp");
  Picture("été/Noël.bmp");
  fs::create_directory_symlink(temp_.path() / "pictures", temp_.path() / "pictures/été/loop");
  Settings("bRandom=False\nbFadeOut=False\niSourceType=2\nsSourceFolder=" + temp_ / "pictures" +
           "\nsLastFile=" + temp_ / "pictures/été/Noël.bmp" + "\n");
  const auto result = Run({"-next"});
  ASSERT_EQ(result.status, 0) << result.stderr_text;
  // Whichever order the system lists the two folders in, the picture after Noël (or the first
  // one, after wrapping) is the other one; the link back to the top is never followed.
  EXPECT_EQ(Setting("sLastFile"), temp_ / "pictures/桜/夜桜.bmp");
}

// A folder of one good picture and one that is not a picture: every login changes to the good
// one, and says which was skipped and why.
TEST_F(BackgroundRun, SkipsAnUnusablePictureAndSaysWhy) {
  const std::string good = Picture("a.bmp");
  WriteFile(temp_.path() / "pictures/b.jpg", "not a picture at all");
  Settings("bRandom=False\nbFadeOut=False\nsSourceFolder=" + temp_ / "pictures" +
           "\nsLastFile=" + good + "\n");
  for (int login = 0; login < 2; ++login) {
    const auto result = Run({"-next"});
    ASSERT_EQ(result.status, 0) << result.stderr_text;
    EXPECT_NE(result.stderr_text.find("vellumo: skipped " + temp_ / "pictures/b.jpg" +
                                      ": not a picture (BMP, JPEG or GIF)\n"),
              std::string::npos)
        << result.stderr_text;
    EXPECT_EQ(Setting("sLastFile"), good);
  }
}

TEST_F(BackgroundRun, TellsTheUsageAndRefusesAnUnknownSwitch) {
  const auto result = Run({"--nxet"});
  EXPECT_EQ(result.status, 2);
  EXPECT_TRUE(result.stderr_text.starts_with("Usage: vellumo [-next]\n")) << result.stderr_text;
  EXPECT_FALSE(fs::exists(settings_file())) << "nothing ran";
}

// The pixmap an X root window's background is published as, or 0.
unsigned long RootPixmap(Display* display) {
  const Atom property = XInternAtom(display, "_XROOTPMAP_ID", True);
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (property == 0 ||
      XGetWindowProperty(display, DefaultRootWindow(display), property, 0, 1, False, XA_PIXMAP,
                         &type, &format, &count, &after, &data) != Success ||
      !data)
    return 0;
  const unsigned long pixmap = count == 1 ? *reinterpret_cast<unsigned long*>(data) : 0;
  XFree(data);
  return pixmap;
}

TEST_F(BackgroundRun, SetsTheXRootWindowWhenNoDesktopIsNamed) {
  XvfbServer server("320x240x24");
  if (server.display().empty()) GTEST_SKIP() << "Xvfb is not installed or would not start";
  Picture("small.bmp", 40, 30);
  Settings("bFadeOut=False\nsSourceFolder=" + temp_ / "pictures" + "\n");
  env_.erase("XDG_CURRENT_DESKTOP");
  env_["DISPLAY"] = server.display();

  const auto result = Run({"-next"});
  ASSERT_EQ(result.status, 0) << result.stderr_text;

  Display* display = XOpenDisplay(server.display().c_str());
  ASSERT_NE(display, nullptr);
  const unsigned long pixmap = RootPixmap(display);
  ASSERT_NE(pixmap, 0u);
  // 40 x 30 is below the tile limit: the pixmap is the picture itself, repeated by the server.
  XImage* image = XGetImage(display, pixmap, 0, 0, 1, 1, AllPlanes, ZPixmap);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(XGetPixel(image, 0, 0) & 0xFFFFFF, 0x1EC80Au);  // red 30, green 200, blue 10
  XDestroyImage(image);
  XCloseDisplay(display);
}

// Desktops ignore a path they already show: every change is a new file, and once the desktop
// shows it the earlier ones go, an earlier version's vellumo.bmp included.
TEST_F(BackgroundRun, EachChangeIsANewFileAndOnlyTheShownOneStays) {
  const std::string first = Picture("a.bmp", 8, 6, Rgb{1, 2, 3});
  Picture("b.bmp", 8, 6, Rgb{4, 5, 6});
  Settings("bRandom=False\nbFadeOut=False\nsSourceFolder=" + temp_ / "pictures" +
           "\nsLastFile=" + first + "\n");
  WriteFile(temp_.path() / "bin/vellumo.bmp", "an earlier version's wallpaper");
  WriteFile(temp_.path() / "bin/vellumo-notes.txt", "not ours");

  ASSERT_EQ(Run({"-next"}).status, 0);
  const std::string shown_first = Wallpaper();
  EXPECT_EQ(Shown().At(0, 0), (Rgb{4, 5, 6}));
  ASSERT_EQ(Run({"-next"}).status, 0);
  const std::string shown_second = Wallpaper();
  EXPECT_EQ(Shown().At(0, 0), (Rgb{1, 2, 3}));

  EXPECT_NE(shown_first, shown_second);
  const std::string log = GsettingsLog();
  EXPECT_NE(log.find("picture-uri|'file://" + shown_first + "'"), std::string::npos) << log;
  EXPECT_NE(log.find("picture-uri|'file://" + shown_second + "'"), std::string::npos) << log;
  std::vector<std::string> left = {fs::path(shown_second).filename(), "vellumo-notes.txt"};
  std::sort(left.begin(), left.end());
  EXPECT_EQ(WallpaperFiles(), left);
  EXPECT_FALSE(fs::exists(temp_.path() / "bin/vellumo.bmp"));
}

TEST_F(BackgroundRun, WithoutADesktopKeepsTheShownFileStoresTheLastFileAndFails) {
  const std::string picture = Picture("a.bmp");
  Settings("bFadeOut=False\nsSourceFolder=" + temp_ / "pictures" + "\n");
  WriteFile(temp_.path() / "bin/vellumo-Shown1.png", "shown now");
  env_.erase("XDG_CURRENT_DESKTOP");
  env_.erase("DISPLAY");

  const auto result = Run({"-next"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(std::count(result.stderr_text.begin(), result.stderr_text.end(), '\n'), 1)
      << result.stderr_text;
  EXPECT_EQ(Setting("sLastFile"), picture);
  EXPECT_EQ(WallpaperFiles(), std::vector<std::string>{"vellumo-Shown1.png"}) << "the new one went";
  EXPECT_EQ(ReadFile(temp_.path() / "bin/vellumo-Shown1.png"), "shown now");
}

// At login the display named in the environment may not take connections yet: the change goes
// on without its notice rather than ending in Qt's start-up.
TEST_F(BackgroundRun, ADisplayThatCannotBeReachedChangesTheWallpaperWithoutWindows) {
  Picture("a.bmp");
  Settings("bFadeOut=True\nsSourceFolder=" + temp_ / "pictures" + "\n");
  env_["DISPLAY"] = "127.0.0.1:93";  // nothing listens on TCP port 6093
  env_["WAYLAND_DISPLAY"] = temp_ / "no-such-socket";

  const auto result = Run({"-next"});
  ASSERT_EQ(result.status, 0) << result.stderr_text;
  EXPECT_EQ(result.stderr_text, "vellumo: desktop: GNOME (XDG_CURRENT_DESKTOP=GNOME)\n");
  EXPECT_NE(GsettingsLog().find("picture-uri|"), std::string::npos);
}

// A server that takes the connection but never answers (stopped, hung) must not hold the
// login's change: it goes on without its notice after a few seconds.
TEST_F(BackgroundRun, AnXServerThatNeverAnswersDoesNotHoldTheChange) {
  XvfbServer server("320x240x24");
  ASSERT_FALSE(server.display().empty());
  Picture("a.bmp");
  Settings("sSourceFolder=" + temp_ / "pictures" + "\n");
  env_["DISPLAY"] = server.display();
  server.Pause();

  const auto result = Run({"-next"});
  server.Resume();
  ASSERT_EQ(result.status, 0) << result.stderr_text;
  EXPECT_NE(GsettingsLog().find("picture-uri|"), std::string::npos);
}

TEST_F(BackgroundRun, ABadPictureLeavesTheWallpaperAndItsFileAlone) {
  const std::string bad = temp_ / "pictures/broken.jpg";
  WriteFile(bad, "\xFF\xD8\xFF\xE0 this is not really a jpeg");
  WriteFile(temp_.path() / "bin/vellumo-Shown1.png", "shown now");
  Settings("bFadeOut=False\nsSourceFolder=" + temp_ / "pictures" + "\n");

  const auto result = Run({"-next"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(WallpaperFiles(), std::vector<std::string>{"vellumo-Shown1.png"});
  EXPECT_EQ(ReadFile(temp_.path() / "bin/vellumo-Shown1.png"), "shown now");
  EXPECT_EQ(GsettingsLog(), "");
  EXPECT_EQ(Setting("sLastFile"), bad) << "stored whatever became of the change";
}

TEST_F(BackgroundRun, AnEmptyListChangesNothingAndKeepsTheLastFile) {
  fs::create_directories(temp_.path() / "pictures");
  Settings("bFadeOut=False\nsLastFile=/old.jpg\nsSourceFolder=" + temp_ / "pictures" + "\n");
  const auto result = Run({"-next"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(Setting("sLastFile"), "/old.jpg");
  EXPECT_TRUE(WallpaperFiles().empty());
}

TEST_F(BackgroundRun, ALastFileThatCannotBeStoredIsReportedAndFailsTheRun) {
  for (const char* folder : {"/usr/share/backgrounds", "/usr/share/wallpapers"})
    if (fs::is_directory(folder)) GTEST_SKIP() << folder << " would be the source folder";
  // A settings folder that cannot be made refuses every write, even to root; the defaults then
  // take the pictures from ~/Pictures.
  WriteFile(temp_.path() / "config/vellumo", "not a folder");
  WriteFile(temp_.path() / "home/Pictures/a.bmp", Bmp24(8, 6, Solid(Rgb{1, 2, 3})));

  const auto result = Run({"-next"});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.stderr_text.find("the last picture could not be stored"), std::string::npos)
      << result.stderr_text;
  EXPECT_NE(GsettingsLog().find("picture-uri|"), std::string::npos) << "the change itself happened";
}

TEST_F(BackgroundRun, AnInteractiveRunWithoutADisplaySaysSoAndTouchesNothing) {
  for (const auto& args : {std::vector<std::string>{}, {"-next", "now"}, {"/next"}}) {
    const auto result = Run(args);
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.stderr_text.find("-next"), std::string::npos);
  }
  EXPECT_FALSE(fs::exists(settings_file()));
}

// Takes a lock the way a running change holds it, or shares it the way a writer holds a partial
// file; released when the object goes.
class HeldLock {
 public:
  HeldLock(const std::string& path, int operation)
      : fd_(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    locked_ = fd_ >= 0 && flock(fd_, operation | LOCK_NB) == 0;
  }
  ~HeldLock() {
    if (fd_ >= 0) close(fd_);
  }
  bool locked() const { return locked_; }

 private:
  int fd_;
  bool locked_ = false;
};

TEST_F(BackgroundRun, WaitsForAChangeInProgressThenGivesUpWithoutChangingAnything) {
  Picture("a.bmp");
  Settings("bFadeOut=False\nsSourceFolder=" + temp_ / "pictures" + "\n");
  const std::string settings_before = ReadFile(settings_file());
  fs::create_directories(temp_.path() / "run");
  env_["XDG_RUNTIME_DIR"] = temp_ / "run";
  env_["VELLUMO_LOCK_TIMEOUT_MS"] = "400";
  {
    const HeldLock other_run(temp_ / "run/vellumo-change.lock", LOCK_EX);
    ASSERT_TRUE(other_run.locked());
    const auto start = std::chrono::steady_clock::now();
    const auto result = Run({"-next"});
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(400));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(std::count(result.stderr_text.begin(), result.stderr_text.end(), '\n'), 1)
        << result.stderr_text;
    EXPECT_EQ(ReadFile(settings_file()), settings_before);
    EXPECT_TRUE(WallpaperFiles().empty());
    EXPECT_EQ(GsettingsLog(), "");
  }
  // Once the other run has ended, the same run changes the wallpaper.
  const auto result = Run({"-next"});
  EXPECT_EQ(result.status, 0) << result.stderr_text;
}

TEST_F(BackgroundRun, RunsStartedTogetherTakeTurns) {
  constexpr int kRuns = 10;
  std::vector<std::string> pictures;
  std::vector<Rgb> colours;
  for (int i = 0; i < kRuns; ++i) {
    colours.push_back(Rgb{static_cast<uint8_t>(20 * i), 100, static_cast<uint8_t>(250 - 20 * i)});
    pictures.push_back(Picture("p" + std::to_string(i) + ".bmp", 8, 6, colours.back()));
  }
  Settings("bRandom=False\nbFadeOut=False\nsSourceFolder=" + temp_ / "pictures" +
           "\nsLastFile=" + pictures[0] + "\n");

  std::vector<std::pair<pid_t, std::string>> runs;
  for (int i = 0; i < kRuns; ++i) {
    const std::string err_path = temp_ / ("stderr" + std::to_string(i) + ".txt");
    runs.emplace_back(Start({"-next"}, err_path), err_path);
  }
  for (const auto& [pid, err_path] : runs) {
    const auto result = Finish(pid, err_path);
    EXPECT_EQ(result.status, 0) << result.stderr_text;
  }

  // Ten steps through ten pictures in list order come back to the start, whatever that order
  // is; a run reading the settings while another one was changing would have lost a step.
  EXPECT_EQ(Setting("sLastFile"), pictures[0]);
  const auto shown = Shown();
  ASSERT_FALSE(shown.pixels.empty());
  EXPECT_EQ(shown.At(0, 0), colours[0]) << "the desktop shows what sLastFile names";
}

// The first partial file that appears beside the program, or "" after a long wait.
std::string AwaitPartialFile(const fs::path& folder, const std::vector<std::string>& ignored) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < deadline) {
    for (const auto& entry : fs::directory_iterator(folder)) {
      const std::string name = entry.path().filename().string();
      if (name.starts_with("vellumo.png.partial-") &&
          std::find(ignored.begin(), ignored.end(), name) == ignored.end())
        return entry.path().string();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return {};
}

TEST_F(BackgroundRun, TheNextRunRemovesWhatAKilledRunLeftBehindAndNothingElse) {
  // Big enough (36 MB) for the kill to land while the wallpaper file is being written.
  constexpr int kWidth = 4000, kHeight = 3000;
  WriteFile(temp_.path() / "pictures/big.bmp",
            test::Bmp24Headers(kWidth, kHeight, kWidth * 3 * kHeight));
  Settings("bFadeOut=False\nsSourceFolder=" + temp_ / "pictures" + "\n");
  const std::vector<std::string> kept = {"vellumo.png.partial-abc", ".vellumo.bmp.Ab12C",
                                         "vellumo.png.partial-Write1"};
  for (const auto& name : kept) WriteFile(temp_.path() / "bin" / name, "keep");
  // What an earlier version left, under its own naming.
  const fs::path earlier = temp_.path() / "bin/.vellumo.bmp.Ab12Cd";
  WriteFile(earlier, "stale");
  std::vector<std::string> present = kept;
  present.push_back(earlier.filename());
  // The fallback folder's file can be left half-written the same way, here by an earlier version
  // that wrote vellumo.bmp.
  const fs::path in_fallback = temp_.path() / "data/vellumo/vellumo.bmp.partial-Old123";
  WriteFile(in_fallback, "stale");
  // A partial file still being written, by a settings window for instance, is held like ours.
  const HeldLock writer(temp_ / "bin/vellumo.png.partial-Write1", LOCK_SH);
  ASSERT_TRUE(writer.locked());

  const std::string err_path = temp_ / "killed.txt";
  const pid_t pid = Start({"-next"}, err_path);
  const std::string partial = AwaitPartialFile(temp_.path() / "bin", present);
  ASSERT_FALSE(partial.empty());
  kill(pid, SIGKILL);
  EXPECT_EQ(Finish(pid, err_path).status, 128 + SIGKILL);
  ASSERT_TRUE(fs::exists(partial));
  ASSERT_TRUE(WallpaperFiles().empty());

  const auto result = Run({"-next"});
  EXPECT_EQ(result.status, 0) << result.stderr_text;
  EXPECT_FALSE(fs::exists(partial));
  EXPECT_FALSE(fs::exists(in_fallback));
  EXPECT_FALSE(fs::exists(earlier));
  for (const auto& name : kept) EXPECT_TRUE(fs::exists(temp_.path() / "bin" / name)) << name;
  EXPECT_EQ(Shown().width, kWidth);
}

}  // namespace
}  // namespace vellumo
