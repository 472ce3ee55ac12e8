// Runs vellumo.exe -next against prepared settings and pictures, and reads back what it left in
// the registry and on disk.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>

#include "changing_window.h"
#include "end_to_end.h"

namespace vellumo {
namespace {

using namespace testing_support;
namespace fs = std::filesystem;

const std::wstring kSettingsKey = L"Software\\Vellumo\\Settings";
const std::wstring kDesktopKey = L"Control Panel\\Desktop";

std::string FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class EndToEndTest : public testing::Test {
 protected:
  void SetUp() override {
    DeleteUserKey(kSettingsKey);
    DeleteFileW(ProgramBitmapPath().c_str());
  }

  // Settings for a run in list order without fading, starting after `last_file`.
  void Prepare(const fs::path& folder, int source_type, const fs::path& last_file,
               std::map<std::wstring, std::wstring> overrides = {}) {
    std::map<std::wstring, std::wstring> values{
        {L"sSourceFolder", folder.wstring() + L"\\"},
        {L"iSourceType", std::to_wstring(source_type)},
        {L"sLastFile", last_file.wstring()},
        {L"bRandom", L"False"},
        {L"bRepeats", L"False"},
        {L"bFadeOut", L"False"},
        {L"iDisplayType", L"0"},
        {L"iAutoSize", L"300"},
        {L"iAutoRatio", L"10"},
    };
    for (auto& [name, value] : overrides) values[name] = value;
    for (auto& [name, value] : values) WriteUserString(kSettingsKey, name, value);
  }

  static std::wstring Setting(const std::wstring& name) {
    return ReadUserString(kSettingsKey, name).value_or(L"<absent>");
  }
  static std::wstring DesktopValue(const std::wstring& name) {
    return ReadUserString(kDesktopKey, name).value_or(L"<absent>");
  }
};

TEST_F(EndToEndTest, ChangesToTheNextPictureInListOrder) {
  TempFolder folder(L"list-order");
  ASSERT_TRUE(WriteBmp(folder.path() / L"a.bmp", 40, 30, RGB(200, 0, 0)));
  ASSERT_TRUE(WriteBmp(folder.path() / L"b.bmp", 64, 48, RGB(0, 200, 0)));
  ASSERT_TRUE(WriteBmp(folder.path() / L"c.bmp", 50, 50, RGB(0, 0, 200)));
  Prepare(folder.path(), 1, folder.path() / L"a.bmp");

  EXPECT_EQ(RunProgram(L"-next"), 0u);

  EXPECT_EQ(DesktopValue(L"Wallpaper"), ProgramBitmapPath());
  // 64 x 48 is below the automatic mode's size limit: tiled.
  EXPECT_EQ(DesktopValue(L"TileWallpaper"), L"1");
  EXPECT_EQ(DesktopValue(L"WallpaperStyle"), L"0");
  const auto bitmap = ReadBmpHeader(ProgramBitmapPath());
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->width, 64);
  EXPECT_EQ(bitmap->height, 48);
  EXPECT_EQ(bitmap->bits, 24);
  EXPECT_EQ(Setting(L"sLastFile"), (folder.path() / L"b.bmp").wstring());

  // The seven settings the main window stores on unloading, in their text forms.
  EXPECT_EQ(Setting(L"bRepeats"), L"False");
  EXPECT_EQ(Setting(L"bRandom"), L"False");
  EXPECT_EQ(Setting(L"bFadeOut"), L"False");
  EXPECT_EQ(Setting(L"iSourceType"), L"1");
  EXPECT_EQ(Setting(L"iDisplayType"), L"0");
  EXPECT_EQ(Setting(L"iAutoSize"), L"300");
  EXPECT_EQ(Setting(L"iAutoRatio"), L"10");
}

struct ModeCase {
  const char* name;
  int display_type;
  int width;
  int height;
  const wchar_t* tile;
  const wchar_t* style;
};

void PrintTo(const ModeCase& mode, std::ostream* out) {
  *out << mode.name;
}

class DisplayModeTest : public EndToEndTest, public testing::WithParamInterface<ModeCase> {};

TEST_P(DisplayModeTest, WritesTheLayoutValuesOfTheMode) {
  const ModeCase& mode = GetParam();
  TempFolder folder(L"mode");
  ASSERT_TRUE(WriteBmp(folder.path() / L"only.bmp", mode.width, mode.height, RGB(90, 90, 90)));
  Prepare(folder.path(), 1, L"", {{L"iDisplayType", std::to_wstring(mode.display_type)}});

  EXPECT_EQ(RunProgram(L"-next"), 0u);
  EXPECT_EQ(DesktopValue(L"TileWallpaper"), mode.tile);
  EXPECT_EQ(DesktopValue(L"WallpaperStyle"), mode.style);
}

INSTANTIATE_TEST_SUITE_P(Modes, DisplayModeTest,
                         testing::Values(ModeCase{"Stretch", 1, 40, 40, L"0", L"2"},
                                         ModeCase{"Centre", 2, 40, 40, L"0", L"0"},
                                         ModeCase{"Tile", 3, 400, 300, L"1", L"0"},
                                         ModeCase{"AutoFourThirds", 0, 800, 600, L"0", L"2"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EndToEndTest, FadesOutAndTakesTheSwitchInAnyCase) {
  TempFolder folder(L"fade");
  ASSERT_TRUE(WriteBmp(folder.path() / L"one.bmp", 32, 32, RGB(10, 20, 30)));
  ASSERT_TRUE(WriteBmp(folder.path() / L"two.bmp", 48, 32, RGB(30, 20, 10)));
  Prepare(folder.path(), 1, folder.path() / L"one.bmp", {{L"bFadeOut", L"True"}});

  EXPECT_EQ(RunProgram(L"-NeXt"), 0u);
  EXPECT_EQ(Setting(L"sLastFile"), (folder.path() / L"two.bmp").wstring());
  EXPECT_EQ(Setting(L"bFadeOut"), L"True");
}

TEST_F(EndToEndTest, FolderTreeModeFindsPicturesInSubFolders) {
  TempFolder folder(L"tree");
  fs::create_directories(folder.path() / L"sub" / L"deeper");
  ASSERT_TRUE(WriteBmp(folder.path() / L"sub" / L"one.bmp", 20, 20, RGB(1, 2, 3)));
  ASSERT_TRUE(WriteBmp(folder.path() / L"sub" / L"deeper" / L"two.bmp", 36, 24, RGB(3, 2, 1)));
  Prepare(folder.path(), 2, folder.path() / L"sub" / L"one.bmp");

  EXPECT_EQ(RunProgram(L"-next"), 0u);
  EXPECT_EQ(Setting(L"sLastFile"), (folder.path() / L"sub" / L"deeper" / L"two.bmp").wstring());
  const auto bitmap = ReadBmpHeader(ProgramBitmapPath());
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->width, 36);
  EXPECT_EQ(bitmap->height, 24);
}

TEST_F(EndToEndTest, CorruptPictureLeavesWallpaperAndBitmapButIsRemembered) {
  TempFolder good(L"good");
  ASSERT_TRUE(WriteBmp(good.path() / L"fine.bmp", 64, 48, RGB(0, 128, 255)));
  Prepare(good.path(), 1, L"");
  ASSERT_EQ(RunProgram(L"-next"), 0u);
  const std::wstring wallpaper = DesktopValue(L"Wallpaper");
  const std::string bitmap = FileBytes(ProgramBitmapPath());
  ASSERT_FALSE(bitmap.empty());

  TempFolder bad(L"bad");
  {
    std::ofstream broken(bad.path() / L"broken.jpg", std::ios::binary);
    broken << "\xFF\xD8\xFF\xE0 this is not really a JPEG";
  }
  Prepare(bad.path(), 1, L"");
  EXPECT_EQ(RunProgram(L"-next"), 1u);
  EXPECT_EQ(DesktopValue(L"Wallpaper"), wallpaper);
  EXPECT_EQ(FileBytes(ProgramBitmapPath()), bitmap);
  EXPECT_EQ(Setting(L"sLastFile"), (bad.path() / L"broken.jpg").wstring());
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
  TempFolder folder(L"escape");
  ASSERT_TRUE(WriteBmp(folder.path() / L"a.bmp", 40, 30, RGB(200, 0, 0)));
  ASSERT_TRUE(WriteBmp(folder.path() / L"b.bmp", 64, 48, RGB(0, 200, 0)));
  Prepare(folder.path(), 1, folder.path() / L"a.bmp", {{L"bFadeOut", L"True"}});
  WriteUserString(kDesktopKey, L"Wallpaper", L"C:\\before.bmp");

  Program program(L"-next");
  ASSERT_TRUE(program.started());
  HWND notice = nullptr;
  for (int i = 0; i < 200000 && !notice; ++i) {
    notice = FindNotice(program.id());
    if (!notice && program.Wait(0)) break;
  }
  ASSERT_NE(notice, nullptr) << "the change notice never showed";
  PostMessageW(notice, WM_CHAR, 27, 1);

  EXPECT_EQ(program.Wait(), 0u);
  EXPECT_EQ(DesktopValue(L"Wallpaper"), L"C:\\before.bmp");
  EXPECT_EQ(Setting(L"sLastFile"), (folder.path() / L"a.bmp").wstring());
  EXPECT_FALSE(fs::exists(ProgramBitmapPath()));
}

TEST_F(EndToEndTest, JapaneseFolderAndFileNames) {
  TempFolder folder(L"写真 フォルダ");
  const fs::path evening = folder.path() / L"夕焼け.bmp";
  const fs::path morning = folder.path() / L"朝焼け.bmp";
  ASSERT_TRUE(WriteBmp(evening, 30, 20, RGB(250, 120, 0)));
  ASSERT_TRUE(WriteBmp(morning, 20, 30, RGB(250, 200, 200)));
  Prepare(folder.path(), 1, evening);

  EXPECT_EQ(RunProgram(L"-next"), 0u);
  EXPECT_EQ(Setting(L"sLastFile"), morning.wstring());
  EXPECT_EQ(Setting(L"sSourceFolder"), folder.path().wstring() + L"\\");
  const auto bitmap = ReadBmpHeader(ProgramBitmapPath());
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->width, 20);
  EXPECT_EQ(bitmap->height, 30);
}

TEST_F(EndToEndTest, InteractiveRunStoresTheSettingsAndChangesNothing) {
  TempFolder folder(L"interactive");
  ASSERT_TRUE(WriteBmp(folder.path() / L"a.bmp", 40, 30, RGB(200, 0, 0)));
  Prepare(folder.path(), 1, L"", {{L"bRandom", L"-1"}});
  WriteUserString(kDesktopKey, L"Wallpaper", L"C:\\before.bmp");

  EXPECT_EQ(RunProgram(L"-next now"), 0u);
  EXPECT_EQ(Setting(L"bRandom"), L"True") << "stored again in its text form";
  EXPECT_EQ(DesktopValue(L"Wallpaper"), L"C:\\before.bmp");
  EXPECT_EQ(Setting(L"sLastFile"), L"");
}

}  // namespace
}  // namespace vellumo
