#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>
#include <string>

#include "bitmap24.h"
#include "registry.h"
#include "test_folder.h"
#include "win_desktop.h"

namespace vellumo {
namespace {

using test::DeleteUserKey;
using test::ReadUserString;

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
  const std::string bitmap =
      folder.AddFile("壁紙.bmp", test::Bmp24(4, 3, test::Solid(test::kBlack)));
  // Start from the opposite values, so the test sees them written.
  Write_Registry_String(HKEY_CURRENT_USER, WinDesktop::kDesktopKey, "TileWallpaper", "9");
  Write_Registry_String(HKEY_CURRENT_USER, WinDesktop::kDesktopKey, "WallpaperStyle", "9");

  WinDesktop desktop;
  std::string failure;
  EXPECT_TRUE(desktop.SetWallpaper(bitmap, GetParam().layout, &failure)) << failure;
  EXPECT_EQ(ReadUserString(WinDesktop::kDesktopKey, "TileWallpaper"), GetParam().tile);
  EXPECT_EQ(ReadUserString(WinDesktop::kDesktopKey, "WallpaperStyle"), GetParam().style);
  // The system keeps the wallpaper it was given in the user's profile.
  EXPECT_EQ(ReadUserString(WinDesktop::kDesktopKey, "Wallpaper"), bitmap);
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
  DeleteUserKey(parent);
  ASSERT_TRUE(test::WriteUserString(existing, "Other", ""));  // creates the key

  EXPECT_EQ(Write_Registry_String(HKEY_CURRENT_USER, existing, "Name", "Ünïcode 値"),
            ERROR_SUCCESS);
  EXPECT_EQ(ReadUserString(existing, "Name"), "Ünïcode 値");

  const std::string missing = parent + "\\Missing";
  EXPECT_NE(Write_Registry_String(HKEY_CURRENT_USER, missing, "Name", "x"), ERROR_SUCCESS);
  EXPECT_FALSE(test::UserKeyExists(missing));
  DeleteUserKey(parent);
}

}  // namespace
}  // namespace vellumo
