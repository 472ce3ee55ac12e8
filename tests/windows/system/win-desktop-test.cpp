#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>
#include <string>

#include "test_folder.h"
#include "test_pictures.h"
#include "utf.h"
#include "win_desktop.h"

namespace vellumo {
namespace {

std::optional<std::string> ReadString(const std::string& subkey, const std::string& name) {
  wchar_t data[1024] = {};
  DWORD bytes = sizeof(data) - sizeof(wchar_t);
  if (RegGetValueW(HKEY_CURRENT_USER, Widen(subkey).c_str(), Widen(name).c_str(), RRF_RT_REG_SZ,
                   nullptr, data, &bytes) != ERROR_SUCCESS)
    return std::nullopt;
  return Narrow(data);
}

bool KeyExists(const std::string& subkey) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(subkey).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

struct LayoutCase {
  const char* name;
  Layout layout;
  const char* tile;
  const char* style;
  friend void PrintTo(const LayoutCase& c, std::ostream* out) { *out << c.name; }
};

class WinDesktopTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(WinDesktopTest, WritesTheLayoutValuesAndSetsTheWallpaper) {
  test::TestFolder folder;
  const auto black = [](int, int) { return test::Rgb{}; };
  const std::string bitmap = folder.AddFile("壁紙.bmp", test::MakeBmp24(4, 3, black));
  // Start from the opposite values, so the test sees them written.
  Write_Registry_String(HKEY_CURRENT_USER, WinDesktop::kDesktopKey, "TileWallpaper", "9");
  Write_Registry_String(HKEY_CURRENT_USER, WinDesktop::kDesktopKey, "WallpaperStyle", "9");

  WinDesktop desktop;
  std::string failure;
  EXPECT_TRUE(desktop.SetWallpaper(bitmap, GetParam().layout, &failure)) << failure;
  EXPECT_EQ(ReadString(WinDesktop::kDesktopKey, "TileWallpaper"), GetParam().tile);
  EXPECT_EQ(ReadString(WinDesktop::kDesktopKey, "WallpaperStyle"), GetParam().style);
  // The system keeps the wallpaper it was given in the user's profile.
  EXPECT_EQ(ReadString(WinDesktop::kDesktopKey, "Wallpaper"), bitmap);
}

INSTANTIATE_TEST_SUITE_P(Layouts, WinDesktopTest,
                         ::testing::Values(LayoutCase{"Centered", Layout::kCentered, "0", "0"},
                                           LayoutCase{"Tiled", Layout::kTiled, "1", "0"},
                                           LayoutCase{"Stretched", Layout::kStretched, "0", "2"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WinDesktop, RefusesAnEmptyBitmapPathInsteadOfClearingTheWallpaper) {
  std::string failure;
  EXPECT_FALSE(WinDesktop().SetWallpaper("", Layout::kStretched, &failure));
  EXPECT_FALSE(failure.empty());
}

TEST(WriteRegistryString, WritesOnlyBelowAnExistingKey) {
  const std::string parent = "Software\\VellumoTests";
  const std::string existing = parent + "\\Existing";
  RegDeleteTreeW(HKEY_CURRENT_USER, Widen(parent).c_str());
  HKEY key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Widen(existing).c_str(), 0, nullptr, 0, KEY_WRITE,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);

  EXPECT_EQ(Write_Registry_String(HKEY_CURRENT_USER, existing, "Name", "Ünïcode 値"),
            ERROR_SUCCESS);
  EXPECT_EQ(ReadString(existing, "Name"), "Ünïcode 値");

  const std::string missing = parent + "\\Missing";
  EXPECT_NE(Write_Registry_String(HKEY_CURRENT_USER, missing, "Name", "x"), ERROR_SUCCESS);
  EXPECT_FALSE(KeyExists(missing));
  RegDeleteTreeW(HKEY_CURRENT_USER, Widen(parent).c_str());
}

}  // namespace
}  // namespace vellumo
