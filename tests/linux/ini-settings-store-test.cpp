#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "ini_settings_store.h"
#include "temp_folder.h"

namespace vellumo {
namespace {

using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

TEST(IniSettingsStore, MissingFileIsAnEmptyStore) {
  TempFolder temp;
  IniSettingsStore store(temp / "nowhere/settings.ini");
  EXPECT_EQ(store.Read("bRandom"), std::nullopt);
}

TEST(IniSettingsStore, WritesCreateTheFolderAndReadBack) {
  TempFolder temp;
  IniSettingsStore store(temp / "vellumo/settings.ini");
  ASSERT_TRUE(store.Write("bRandom", "False"));
  ASSERT_TRUE(store.Write("sSourceFolder", "/home/ann/Bilder/Été 桜 = x/"));
  ASSERT_TRUE(store.Write("sLastFile", ""));
  ASSERT_TRUE(store.Write("bRandom", "True"));

  EXPECT_EQ(store.Read("bRandom"), "True");
  EXPECT_EQ(store.Read("sSourceFolder"), "/home/ann/Bilder/Été 桜 = x/");
  EXPECT_EQ(store.Read("sLastFile"), "") << "an empty value is not an absent one";
  EXPECT_EQ(store.Read("iDisplayType"), std::nullopt);
  EXPECT_EQ(ReadFile(temp.path() / "vellumo/settings.ini"),
            "[Settings]\nbRandom=True\nsSourceFolder=/home/ann/Bilder/Été 桜 = x/\nsLastFile=\n");
}

TEST(IniSettingsStore, KeepsWhatElseTheFileHolds) {
  TempFolder temp;
  const auto path = temp.path() / "settings.ini";
  WriteFile(
      path,
      "; kept\r\n[Other]\nbRandom=other\n\n[settings]\nBRANDOM = 0\niAutoSize=5\n\n[Tail]\nx=1\n");
  IniSettingsStore store(path.string());
  EXPECT_EQ(store.Read("bRandom"), " 0") << "keys match without regard to case";
  ASSERT_TRUE(store.Write("bRandom", "False"));
  ASSERT_TRUE(store.Write("iAutoRatio", "10"));
  EXPECT_EQ(
      ReadFile(path),
      "; kept\n[Other]\nbRandom=other\n\n[settings]\nbRandom=False\niAutoSize=5\niAutoRatio=10\n\n"
      "[Tail]\nx=1\n");
}

TEST(IniSettingsStore, RefusesLineBreaksThatWouldForgeOtherKeys) {
  TempFolder temp;
  IniSettingsStore store(temp / "settings.ini");
  ASSERT_TRUE(store.Write("sLastFile", "/a.jpg"));
  EXPECT_FALSE(store.Write("sLastFile", "/evil\nbRandom=False"));
  EXPECT_EQ(store.Read("sLastFile"), "/a.jpg");
  EXPECT_EQ(store.Read("bRandom"), std::nullopt);
}

TEST(IniSettingsStore, ReplacesTheFileWithoutLeavingTemporaries) {
  TempFolder temp;
  IniSettingsStore store(temp / "settings.ini");
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(store.Write("iAutoSize", std::to_string(i)));
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(temp.path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST(IniSettingsStore, ReportsAFolderItCannotWrite) {
  TempFolder temp;
  WriteFile(temp.path() / "blocker", "a file where the folder should be");
  IniSettingsStore store(temp / "blocker/settings.ini");
  EXPECT_FALSE(store.Write("bRandom", "True"));
}

// Kept elsewhere and linked in: the link stays, the file it leads to gets the change.
TEST(IniSettingsStore, WritesThroughALinkAndKeepsIt) {
  TempFolder temp;
  WriteFile(temp.path() / "dotfiles/vellumo.ini", "; mine\n[Settings]\nbRandom=False\n");
  std::filesystem::create_directories(temp.path() / "config");
  std::filesystem::create_symlink("../dotfiles/vellumo.ini", temp.path() / "config/settings.ini");
  IniSettingsStore store(temp / "config/settings.ini");
  ASSERT_TRUE(store.Write("bRandom", "True"));
  EXPECT_TRUE(std::filesystem::is_symlink(temp.path() / "config/settings.ini"));
  EXPECT_EQ(ReadFile(temp.path() / "dotfiles/vellumo.ini"), "; mine\n[Settings]\nbRandom=True\n");
  EXPECT_EQ(store.Read("bRandom"), "True");
}

// A file that exists but cannot be read is not an empty store: writing one key over it would
// lose everything else it holds.
TEST(IniSettingsStore, RefusesToWriteOverAFileItCannotRead) {
  TempFolder temp;
  std::filesystem::create_directories(temp.path() / "settings.ini/inside");
  IniSettingsStore store(temp / "settings.ini");
  EXPECT_EQ(store.Read("bRandom"), std::nullopt);
  EXPECT_FALSE(store.Write("bRandom", "True"));
  EXPECT_TRUE(std::filesystem::is_directory(temp.path() / "settings.ini/inside"));

  // A link that leads round in a circle cannot be opened, yet could be replaced.
  std::filesystem::create_symlink("looped.ini", temp.path() / "looped.ini");
  IniSettingsStore looped(temp / "looped.ini");
  EXPECT_FALSE(looped.Write("bRandom", "True"));
  EXPECT_TRUE(std::filesystem::is_symlink(temp.path() / "looped.ini"));

  // Without permission to read (root reads anything, so only for other users).
  if (geteuid() == 0) return;
  WriteFile(temp.path() / "locked.ini", "[Settings]\nbRandom=False\n");
  chmod((temp / "locked.ini").c_str(), 0200);
  IniSettingsStore locked(temp / "locked.ini");
  EXPECT_FALSE(locked.Write("iAutoSize", "1"));
  chmod((temp / "locked.ini").c_str(), 0600);
  EXPECT_EQ(ReadFile(temp.path() / "locked.ini"), "[Settings]\nbRandom=False\n");
}

}  // namespace
}  // namespace vellumo
