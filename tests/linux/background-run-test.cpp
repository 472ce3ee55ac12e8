// Runs the real program with temporary XDG folders on real files.
// GoogleTest before Xlib, whose macros (None, Bool, Status) would clash with its names.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <vector>

#include "bitmap24.h"
#include "temp_folder.h"
#include "xvfb_server.h"

namespace vellumo {
namespace {

namespace fs = std::filesystem;
using test::Bmp24;
using test::ParseBmp24;
using test::ReadFile;
using test::Rgb;
using test::Solid;
using test::TempFolder;
using test::WriteFile;
using test::XvfbServer;

struct RunResult {
  int status = -1;
  std::string stderr_text;
};

// A throwaway user: home, XDG folders, a copy of the program (so its bitmap lands beside it, in
// the temporary folder) and a gsettings stand-in that logs its arguments.
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
  }

  std::string exe() const { return temp_ / "bin/vellumo"; }
  std::string bitmap() const { return temp_ / "bin/vellumo.bmp"; }
  std::string settings_file() const { return temp_ / "config/vellumo/settings.ini"; }
  std::string GsettingsLog() const { return ReadFile(temp_ / "gsettings.log"); }

  void Settings(const std::string& lines) { WriteFile(settings_file(), "[Settings]\n" + lines); }

  std::string Picture(const std::string& relative, int width = 8, int height = 6) {
    const auto path = temp_.path() / "pictures" / relative;
    WriteFile(path, Bmp24(width, height, Solid(Rgb{30, 200, 10})));
    return path.string();
  }

  RunResult Run(std::vector<std::string> args) {
    std::vector<std::string> env_text;
    for (const auto& [name, value] : env_) env_text.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (auto& text : env_text) envp.push_back(text.data());
    envp.push_back(nullptr);
    args.insert(args.begin(), exe());
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    const std::string err_path = temp_ / "stderr.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    pid_t pid = 0;
    RunResult result;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) {
      int status = 0;
      waitpid(pid, &status, 0);
      result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    result.stderr_text = ReadFile(err_path);
    return result;
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
  EXPECT_EQ(result.stderr_text, "");

  EXPECT_EQ(Setting("sLastFile"), second);
  // Anything but a complete, uncompressed 24-bit bitmap reads back as 0 x 0.
  const auto written = ParseBmp24(ReadFile(bitmap())).value_or(test::Picture{});
  EXPECT_EQ(written.width, 640);
  EXPECT_EQ(written.height, 480);
  const std::string log = GsettingsLog();
  EXPECT_NE(log.find("set|org.gnome.desktop.background|picture-options|'stretched'|"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("picture-uri|'file://" + bitmap() + "'"), std::string::npos) << log;
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

TEST_F(BackgroundRun, WithoutADesktopWritesTheBitmapAndLastFileAndFails) {
  const std::string picture = Picture("a.bmp");
  Settings("bFadeOut=False\nsSourceFolder=" + temp_ / "pictures" + "\n");
  env_.erase("XDG_CURRENT_DESKTOP");
  env_.erase("DISPLAY");

  const auto result = Run({"-next"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(std::count(result.stderr_text.begin(), result.stderr_text.end(), '\n'), 1)
      << result.stderr_text;
  EXPECT_EQ(Setting("sLastFile"), picture);
  EXPECT_EQ(ParseBmp24(ReadFile(bitmap())).value_or(test::Picture{}).width, 8);
}

TEST_F(BackgroundRun, ABadPictureLeavesTheWallpaperAndBitmapAlone) {
  const std::string bad = temp_ / "pictures/broken.jpg";
  WriteFile(bad, "\xFF\xD8\xFF\xE0 this is not really a jpeg");
  WriteFile(bitmap(), Bmp24(3, 3, Solid(Rgb{3, 2, 1})));
  const std::string before = ReadFile(bitmap());
  Settings("bFadeOut=False\nsSourceFolder=" + temp_ / "pictures" + "\n");

  const auto result = Run({"-next"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(ReadFile(bitmap()), before);
  EXPECT_EQ(GsettingsLog(), "");
  EXPECT_EQ(Setting("sLastFile"), bad) << "stored whatever became of the change";
}

TEST_F(BackgroundRun, AnEmptyListChangesNothingButStoresTheEmptyLastFile) {
  fs::create_directories(temp_.path() / "pictures");
  Settings("bFadeOut=False\nsLastFile=/old.jpg\nsSourceFolder=" + temp_ / "pictures" + "\n");
  const auto result = Run({"-next"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(Setting("sLastFile"), "");
  EXPECT_FALSE(fs::exists(bitmap()));
}

TEST_F(BackgroundRun, AnInteractiveRunSaysSoAndTouchesNothing) {
  for (const auto& args : {std::vector<std::string>{}, {"-next", "now"}, {"/next"}}) {
    const auto result = Run(args);
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.stderr_text.find("-next"), std::string::npos);
  }
  EXPECT_FALSE(fs::exists(settings_file()));
}

}  // namespace
}  // namespace vellumo
