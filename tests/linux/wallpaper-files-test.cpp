#include "wallpaper_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "png_pixels.h"
#include "temp_folder.h"

namespace vellumo {
namespace {

namespace fs = std::filesystem;
using test::NamesStartingWith;
using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

TEST(WallpaperFiles, OnlyNamesOfExactlyOurFormAreOurs) {
  EXPECT_EQ(FreshWallpaperPath("/a/b/vellumo.png", "x1Y2z3"), "/a/b/vellumo-x1Y2z3.png");
  EXPECT_EQ(EarlierWallpaperName("vellumo.png"), "vellumo.bmp");
  for (const char* ours : {"vellumo-x1Y2z3.png", "vellumo-000000.png", "vellumo.bmp"})
    EXPECT_TRUE(IsWallpaperFileOf(ours, "vellumo.png")) << ours;
  for (const char* other :
       {"vellumo.png", "vellumo-x1Y2z.png", "vellumo-x1Y2z34.png", "vellumo-x1Y2z3.PNG",
        "Vellumo-x1Y2z3.png", "vellumo_x1Y2z3.png", "vellumo-x1Y2z3.png.partial-abcdef",
        "vellumo-x1-2z3.png", "vellumo-x1Y2z\xC3\xA9.png", "xvellumo-x1Y2z3.png", "vellumo.BMP",
        "vellumo-x1Y2z3.bmp", "photo-x1Y2z3.png"})
    EXPECT_FALSE(IsWallpaperFileOf(other, "vellumo.png")) << other;
  EXPECT_FALSE(IsWallpaperFileOf("-abcdef", ""));
}

TEST(WallpaperFiles, AMoveNeverReplacesAFile) {
  TempFolder folder;
  WriteFile(folder / "new", "new");
  WriteFile(folder / "shown", "shown");
  EXPECT_FALSE(MoveToNewName(folder / "new", folder / "shown"));
  EXPECT_EQ(ReadFile(folder / "shown"), "shown");
  EXPECT_TRUE(MoveToNewName(folder / "new", folder / "fresh"));
  EXPECT_EQ(ReadFile(folder / "fresh"), "new");
  EXPECT_FALSE(fs::exists(folder / "new"));
}

TEST(WallpaperFiles, RemovingEarlierOnesKeepsTheShownOneAndWhatIsNotOurs) {
  TempFolder folder;
  for (const char* name : {"vellumo-Shown1.png", "vellumo-Older1.png", "vellumo-Older2.png",
                           "vellumo.bmp", "vellumo-notes.png", "vellumo.png.partial-Write1"})
    WriteFile(folder / name, name);
  fs::create_directory(folder / "vellumo-Folder.png");
  fs::create_symlink(folder / "vellumo-Shown1.png", folder / "vellumo-Link12.png");

  RemoveEarlierWallpapers(folder / "vellumo.png", folder / "vellumo-Shown1.png");
  EXPECT_EQ(
      NamesStartingWith(folder.path(), "vellumo"),
      (std::vector<std::string>{"vellumo-Folder.png", "vellumo-Link12.png", "vellumo-Shown1.png",
                                "vellumo-notes.png", "vellumo.png.partial-Write1"}));
  // Shown from the other folder: everything of ours here goes.
  RemoveEarlierWallpapers(folder / "vellumo.png", "/elsewhere/vellumo-Shown1.png");
  EXPECT_FALSE(fs::exists(folder / "vellumo-Shown1.png"));
}

}  // namespace
}  // namespace vellumo
