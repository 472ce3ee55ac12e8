// Runs vellumo.exe -next against prepared settings and pictures, and reads back what it left in
// the registry and on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <vector>

#include "app_paths.h"
#include "bitmap24.h"
#include "changing_window.h"
#include "end_to_end.h"
#include "main_window.h"
#include "registry.h"
#include "test_folder.h"
#include "ui/toolbar.h"
#include "utf.h"

namespace vellumo {
namespace {

using namespace test;

const std::string kSettingsKey = "Software\\Vellumo\\Settings";
const std::string kDesktopKey = "Control Panel\\Desktop";

// A picture file of one colour.
void WriteBmp(const std::string& path, int width, int height, Rgb colour) {
  WriteAll(path, Bmp24(width, height, Solid(colour)));
}

class EndToEndTest : public testing::Test {
 protected:
  void SetUp() override {
    DeleteUserKey(kSettingsKey);
    DeleteFileW(Widen(ProgramBitmapPath()).c_str());
  }

  // Settings for a run in list order without fading, starting after `last_file`.
  void Prepare(const std::string& folder, int source_type, const std::string& last_file,
               std::map<std::string, std::string> overrides = {}) {
    std::map<std::string, std::string> values{
        {"sSourceFolder", folder + "\\"},
        {"iSourceType", std::to_string(source_type)},
        {"sLastFile", last_file},
        {"bRandom", "False"},
        {"bRepeats", "False"},
        {"bFadeOut", "False"},
        {"iDisplayType", "0"},
        {"iAutoSize", "300"},
        {"iAutoRatio", "10"},
    };
    for (auto& [name, value] : overrides) values[name] = value;
    for (auto& [name, value] : values) WriteUserString(kSettingsKey, name, value);
  }

  static std::string Setting(const std::string& name) {
    return ReadUserString(kSettingsKey, name).value_or("<absent>");
  }
  static std::string DesktopValue(const std::string& name) {
    return ReadUserString(kDesktopKey, name).value_or("<absent>");
  }

  // The program's bitmap must be a complete 24-bit one of this size.
  static void ExpectBitmapOf(int width, int height) {
    const auto bitmap = ParseBmp24(ReadAll(ProgramBitmapPath()));
    ASSERT_TRUE(bitmap) << "no complete 24-bit bitmap at " << ProgramBitmapPath();
    EXPECT_EQ(bitmap->width, width);
    EXPECT_EQ(bitmap->height, height);
  }
};

TEST_F(EndToEndTest, ChangesToTheNextPictureInListOrder) {
  TestFolder folder("list-order");
  WriteBmp(folder / "a.bmp", 40, 30, {200, 0, 0});
  WriteBmp(folder / "b.bmp", 64, 48, {0, 200, 0});
  WriteBmp(folder / "c.bmp", 50, 50, {0, 0, 200});
  Prepare(folder.path(), 1, folder / "a.bmp");

  EXPECT_EQ(RunProgram(L"-next"), 0u);

  EXPECT_EQ(DesktopValue("Wallpaper"), ProgramBitmapPath());
  // 64 x 48 is below the automatic mode's size limit: tiled.
  EXPECT_EQ(DesktopValue("TileWallpaper"), "1");
  EXPECT_EQ(DesktopValue("WallpaperStyle"), "0");
  ExpectBitmapOf(64, 48);
  EXPECT_EQ(Setting("sLastFile"), folder / "b.bmp");

  // The seven settings the main window stores on unloading, in their text forms.
  EXPECT_EQ(Setting("bRepeats"), "False");
  EXPECT_EQ(Setting("bRandom"), "False");
  EXPECT_EQ(Setting("bFadeOut"), "False");
  EXPECT_EQ(Setting("iSourceType"), "1");
  EXPECT_EQ(Setting("iDisplayType"), "0");
  EXPECT_EQ(Setting("iAutoSize"), "300");
  EXPECT_EQ(Setting("iAutoRatio"), "10");
}

struct ModeCase {
  const char* name;
  int display_type;
  int width;
  int height;
  const char* tile;
  const char* style;
};

void PrintTo(const ModeCase& mode, std::ostream* out) {
  *out << mode.name;
}

class DisplayModeTest : public EndToEndTest, public testing::WithParamInterface<ModeCase> {};

TEST_P(DisplayModeTest, WritesTheLayoutValuesOfTheMode) {
  const ModeCase& mode = GetParam();
  TestFolder folder("mode");
  WriteBmp(folder / "only.bmp", mode.width, mode.height, {90, 90, 90});
  Prepare(folder.path(), 1, "", {{"iDisplayType", std::to_string(mode.display_type)}});

  EXPECT_EQ(RunProgram(L"-next"), 0u);
  EXPECT_EQ(DesktopValue("TileWallpaper"), mode.tile);
  EXPECT_EQ(DesktopValue("WallpaperStyle"), mode.style);
}

INSTANTIATE_TEST_SUITE_P(Modes, DisplayModeTest,
                         testing::Values(ModeCase{"Stretch", 1, 40, 40, "0", "2"},
                                         ModeCase{"Centre", 2, 40, 40, "0", "0"},
                                         ModeCase{"Tile", 3, 400, 300, "1", "0"},
                                         ModeCase{"AutoFourThirds", 0, 800, 600, "0", "2"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EndToEndTest, FadesOutAndTakesTheSwitchInAnyCase) {
  TestFolder folder("fade");
  WriteBmp(folder / "one.bmp", 32, 32, {10, 20, 30});
  WriteBmp(folder / "two.bmp", 48, 32, {30, 20, 10});
  Prepare(folder.path(), 1, folder / "one.bmp", {{"bFadeOut", "True"}});

  EXPECT_EQ(RunProgram(L"-NeXt"), 0u);
  EXPECT_EQ(Setting("sLastFile"), folder / "two.bmp");
  EXPECT_EQ(Setting("bFadeOut"), "True");
}

TEST_F(EndToEndTest, FolderTreeModeFindsPicturesInSubFolders) {
  TestFolder folder("tree");
  folder.AddFolder("sub");
  folder.AddFolder("sub\\deeper");
  WriteBmp(folder / "sub\\one.bmp", 20, 20, {1, 2, 3});
  WriteBmp(folder / "sub\\deeper\\two.bmp", 36, 24, {3, 2, 1});
  Prepare(folder.path(), 2, folder / "sub\\one.bmp");

  EXPECT_EQ(RunProgram(L"-next"), 0u);
  EXPECT_EQ(Setting("sLastFile"), folder / "sub\\deeper\\two.bmp");
  ExpectBitmapOf(36, 24);
}

TEST_F(EndToEndTest, CorruptPictureLeavesWallpaperAndBitmapButIsRemembered) {
  TestFolder good("good");
  WriteBmp(good / "fine.bmp", 64, 48, {0, 128, 255});
  Prepare(good.path(), 1, "");
  ASSERT_EQ(RunProgram(L"-next"), 0u);
  const std::string wallpaper = DesktopValue("Wallpaper");
  const std::string bitmap = ReadAll(ProgramBitmapPath());
  ASSERT_FALSE(bitmap.empty());

  TestFolder bad("bad");
  bad.AddFile("broken.jpg", "\xFF\xD8\xFF\xE0 this is not really a JPEG");
  Prepare(bad.path(), 1, "");
  DeleteFileW(Widen(LogPath()).c_str());
  EXPECT_EQ(RunProgram(L"-next"), 1u);
  EXPECT_EQ(DesktopValue("Wallpaper"), wallpaper);
  EXPECT_EQ(ReadAll(ProgramBitmapPath()), bitmap);
  EXPECT_EQ(Setting("sLastFile"), bad / "broken.jpg");
  // Told where a program without a console can tell it.
  const std::string log = ReadAll(LogPath());
  EXPECT_NE(log.find("broken.jpg: cut short"), std::string::npos) << log;
}

// The visible change notice of process `id`, if there is one yet.
HWND FindNotice(DWORD id) {
  HWND window = nullptr;
  while ((window = FindWindowExW(nullptr, window, kChangingClass, nullptr)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == id && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

TEST_F(EndToEndTest, EscapeBeforeTheTickEndsTheRunWithoutAChange) {
  TestFolder folder("escape");
  WriteBmp(folder / "a.bmp", 40, 30, {200, 0, 0});
  WriteBmp(folder / "b.bmp", 64, 48, {0, 200, 0});
  Prepare(folder.path(), 1, folder / "a.bmp", {{"bFadeOut", "True"}});
  WriteUserString(kDesktopKey, "Wallpaper", "C:\\before.bmp");

  Program program(L"-next");
  ASSERT_TRUE(program.started());
  HWND notice = nullptr;
  for (int i = 0; i < 200000 && !notice; ++i) {
    notice = FindNotice(program.id());
    if (!notice && program.Wait(0)) break;
  }
  ASSERT_NE(notice, nullptr) << "the change notice never showed";
  PostMessageW(notice, WM_CHAR, 27, 1);

  EXPECT_EQ(program.Wait(), 1u) << "cancelled, so not changed";
  EXPECT_EQ(DesktopValue("Wallpaper"), "C:\\before.bmp");
  EXPECT_EQ(Setting("sLastFile"), folder / "a.bmp");
  EXPECT_FALSE(std::filesystem::exists(Widen(ProgramBitmapPath())));
}

TEST_F(EndToEndTest, JapaneseFolderAndFileNames) {
  TestFolder folder("写真 フォルダ");
  const std::string evening = folder / "夕焼け.bmp";
  const std::string morning = folder / "朝焼け.bmp";
  WriteBmp(evening, 30, 20, {250, 120, 0});
  WriteBmp(morning, 20, 30, {250, 200, 200});
  Prepare(folder.path(), 1, evening);

  EXPECT_EQ(RunProgram(L"-next"), 0u);
  EXPECT_EQ(Setting("sLastFile"), morning);
  EXPECT_EQ(Setting("sSourceFolder"), folder.path() + "\\");
  ExpectBitmapOf(20, 30);
}

// The settings window of a running program, once it is on screen.
HWND WaitForMainWindow(const Program& program) {
  for (int attempt = 0; attempt < 200; ++attempt) {
    for (HWND window = FindWindowW(kMainClass, nullptr); window;
         window = FindWindowExW(nullptr, window, kMainClass, nullptr)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == program.id() && IsWindowVisible(window)) return window;
    }
    Sleep(50);
  }
  return nullptr;
}

// A toolbar check button clicked in another process: its new state, then its command.
void ClickCheckButton(HWND window, int index, bool pressed) {
  const HWND toolbar = FindWindowExW(window, nullptr, TOOLBARCLASSNAMEW, nullptr);
  SendMessageW(toolbar, TB_CHECKBUTTON, kToolbarIdBase + index, pressed);
  SendMessageW(window, WM_COMMAND, kToolbarIdBase + index, reinterpret_cast<LPARAM>(toolbar));
}

TEST_F(EndToEndTest, SettingsWindowSwitchesStartupAndEscStoresTheSettings) {
  const std::string run_key = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  TestFolder folder("interactive");
  WriteBmp(folder / "a.bmp", 40, 30, {200, 0, 0});
  Prepare(folder.path(), 1, "", {{"bRandom", "-1"}});
  WriteUserString(kDesktopKey, "Wallpaper", "C:\\before.bmp");

  Program program(L"-next now");
  const HWND window = WaitForMainWindow(program);
  ASSERT_NE(window, nullptr) << "no settings window";
  wchar_t caption[64] = {};
  GetWindowTextW(window, caption, 64);
  EXPECT_STREQ(caption, L"Vellumo - v0.3b - by Corvane");
  const HWND list = GetDlgItem(window, main_id::kImageList);
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);

  ClickCheckButton(window, toolbar::kStartup, true);
  const std::string command = ReadUserString(run_key, "Vellumo").value_or("");
  EXPECT_EQ(command.front(), '"');
  EXPECT_TRUE(command.ends_with("vellumo.exe\" -next")) << command;
  ClickCheckButton(window, toolbar::kStartup, false);
  EXPECT_FALSE(ReadUserString(run_key, "Vellumo").has_value());

  PostMessageW(list, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(program.Wait(), 0u);
  EXPECT_EQ(Setting("bRandom"), "True") << "stored again in its text form";
  EXPECT_EQ(DesktopValue("Wallpaper"), "C:\\before.bmp");
  EXPECT_EQ(Setting("sLastFile"), "");
}

TEST_F(EndToEndTest, NextPictureInTheSettingsWindowChangesTheWallpaper) {
  TestFolder folder("next-button");
  WriteBmp(folder / "a.bmp", 40, 30, {200, 0, 0});
  WriteBmp(folder / "b.bmp", 30, 40, {0, 200, 0});
  Prepare(folder.path(), 1, folder / "a.bmp");

  Program program(L"");
  const HWND window = WaitForMainWindow(program);
  ASSERT_NE(window, nullptr) << "no settings window";
  // Posted: the click runs the modal change screen until the change is done.
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(main_id::kNext, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, main_id::kNext)));
  for (int attempt = 0; attempt < 200 && Setting("sLastFile") != folder / "b.bmp"; ++attempt)
    Sleep(50);
  EXPECT_EQ(Setting("sLastFile"), folder / "b.bmp");
  ExpectBitmapOf(30, 40);
  EXPECT_TRUE(IsWindow(window)) << "the settings window stays open";
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.Wait(), 0u);
}

// The version Windows shows in the file's properties, in numbers and in text, is the project's:
// the one its packages carry.
TEST(ProgramFileTest, VersionResourceIsTheProjectVersion) {
  const std::wstring program = ProgramPath();
  DWORD unused = 0;
  const DWORD size = GetFileVersionInfoSizeW(program.c_str(), &unused);
  ASSERT_NE(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(program.c_str(), 0, size, info.data()));

  void* value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", &value, &length));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  EXPECT_EQ(std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                std::to_string(HIWORD(fixed->dwFileVersionLS)),
            VELLUMO_PROJECT_VERSION);
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);

  for (const wchar_t* name : {L"FileVersion", L"ProductVersion"}) {
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    ASSERT_TRUE(VerQueryValueW(info.data(), path.c_str(), &value, &length)) << Narrow(name);
    EXPECT_EQ(Narrow(static_cast<const wchar_t*>(value)), VELLUMO_PROJECT_VERSION) << Narrow(name);
  }
}

}  // namespace
}  // namespace vellumo
