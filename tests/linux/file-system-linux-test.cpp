#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "file_system_linux.h"
#include "temp_folder.h"

namespace vellumo {
namespace {

using test::TempFolder;
using test::WriteFile;
namespace fs = std::filesystem;

std::map<std::string, uint32_t> ListAsMap(LinuxFileSystem& files, const std::string& folder) {
  std::vector<DirEntry> entries;
  EXPECT_TRUE(files.List(folder, entries));
  std::map<std::string, uint32_t> by_name;
  for (const auto& entry : entries) by_name[entry.name] = entry.attributes;
  return by_name;
}

TEST(LinuxFileSystemList, DescribesEntriesWithWindowsAttributes) {
  TempFolder temp;
  WriteFile(temp.path() / "photo.jpg", "x");
  WriteFile(temp.path() / ".hidden.jpg", "x");
  fs::create_directory(temp.path() / "plain");
  fs::create_directory(temp.path() / ".secret");
  fs::create_directory(temp.path() / "locked");
  chmod((temp / "locked").c_str(), 0555);
  fs::create_directory_symlink(temp.path() / "plain", temp.path() / "link");
  fs::create_symlink(temp.path() / "gone", temp.path() / "dangling");

  LinuxFileSystem files;
  const auto entries = ListAsMap(files, temp.path().string());
  EXPECT_EQ(entries.size(), 7u) << "no '.' or '..'";
  EXPECT_EQ(entries.at("photo.jpg"), attr::kNormal);
  EXPECT_EQ(entries.at(".hidden.jpg"), attr::kHidden);
  EXPECT_EQ(entries.at("plain"), attr::kDirectory) << "only a plain folder is exactly 'directory'";
  EXPECT_EQ(entries.at(".secret"), attr::kDirectory | attr::kHidden);
  EXPECT_EQ(entries.at("locked"), attr::kDirectory | attr::kReadOnly);
  EXPECT_EQ(entries.at("link"), attr::kReparsePoint | attr::kDirectory)
      << "a link is never a plain folder";
  EXPECT_NE(entries.at("dangling") & attr::kSystem, 0u);
}

// A link stands for what it leads to: a link to a picture is listed (but is still no plain
// folder), a link to a folder is neither listed nor entered, and a link to anything that could
// block a reader, or to nothing, is left out.
TEST(LinuxFileSystemList, LinksAreDescribedByTheirTargets) {
  TempFolder temp;
  WriteFile(temp.path() / "real.jpg", "x");
  fs::create_directory(temp.path() / "folder.jpg");
  ASSERT_EQ(mkfifo((temp / "pipe").c_str(), 0600), 0);
  fs::create_symlink(temp.path() / "real.jpg", temp.path() / "to-file.jpg");
  fs::create_symlink(temp.path() / "real.jpg", temp.path() / ".hidden-link.jpg");
  fs::create_directory_symlink(temp.path() / "folder.jpg", temp.path() / "to-folder.jpg");
  fs::create_symlink(temp.path() / "pipe", temp.path() / "to-pipe.jpg");
  fs::create_symlink("/dev/null", temp.path() / "to-device.jpg");
  fs::create_symlink(temp.path() / "gone.jpg", temp.path() / "dangling.jpg");

  LinuxFileSystem files;
  const auto entries = ListAsMap(files, temp.path().string());
  EXPECT_EQ(entries.at("to-file.jpg"), attr::kReparsePoint | attr::kNormal);
  EXPECT_EQ(entries.at(".hidden-link.jpg"), attr::kReparsePoint | attr::kNormal | attr::kHidden);
  EXPECT_EQ(entries.at("to-folder.jpg"), attr::kReparsePoint | attr::kDirectory);
  EXPECT_EQ(entries.at("pipe"), attr::kSystem);
  for (const char* left_out : {"to-pipe.jpg", "to-device.jpg", "dangling.jpg"}) {
    EXPECT_NE(entries.at(left_out) & attr::kSystem, 0u) << left_out;
    EXPECT_EQ(entries.at(left_out) & attr::kDirectory, 0u) << left_out;
  }
}

TEST(LinuxFileSystemList, KeepsNamesOutsideAscii) {
  TempFolder temp;
  WriteFile(temp.path() / "été à Noël.jpg", "x");
  WriteFile(temp.path() / "桜" / "夜桜.gif", "x");
  LinuxFileSystem files;
  EXPECT_EQ(ListAsMap(files, temp.path().string()).count("été à Noël.jpg"), 1u);
  EXPECT_EQ(ListAsMap(files, temp / "桜").count("夜桜.gif"), 1u);
}

TEST(LinuxFileSystemList, FailsForMissingEmptyOrNonFolderPaths) {
  TempFolder temp;
  WriteFile(temp.path() / "file.jpg", "x");
  LinuxFileSystem files;
  std::vector<DirEntry> entries;
  EXPECT_FALSE(files.List("", entries));
  EXPECT_FALSE(files.List(temp / "missing", entries));
  EXPECT_FALSE(files.List(temp / "file.jpg", entries));
  EXPECT_TRUE(entries.empty());
}

TEST(LinuxFileSystemExistence, FileExistsForFilesAndFoldersButNotTheEmptyPath) {
  TempFolder temp;
  WriteFile(temp.path() / "a.bmp", "x");
  LinuxFileSystem files;
  EXPECT_TRUE(files.FileExists(temp / "a.bmp"));
  EXPECT_TRUE(files.FileExists(temp.path().string()));
  EXPECT_FALSE(files.FileExists(temp / "b.bmp"));
  EXPECT_FALSE(files.FileExists(""));
}

TEST(LinuxFileSystemExistence, FolderExistsFollowsTheListingRule) {
  TempFolder temp;
  fs::create_directory(temp.path() / "pictures");
  fs::create_directory(temp.path() / ".hidden");
  WriteFile(temp.path() / "one.jpg", "x");
  LinuxFileSystem files;
  EXPECT_TRUE(files.FolderExists(temp / "pictures"));
  EXPECT_TRUE(files.FolderExists(temp / "pictures/"));
  EXPECT_FALSE(files.FolderExists(temp / ".hidden")) << "a hidden name is not listed";
  EXPECT_TRUE(files.FolderExists(temp / ".hidden/")) << "its contents are";
  EXPECT_TRUE(files.FolderExists(temp / "one.jpg")) << "a plain file matches too";
  EXPECT_TRUE(files.FolderExists(temp / "pic*"));
  EXPECT_FALSE(files.FolderExists(temp / "missing"));
  EXPECT_FALSE(files.FolderExists(temp / "missing/"));
  EXPECT_FALSE(files.FolderExists(""));
}

// Only '*' and '?' are wildcards: brackets and backslashes are plain characters of a name.
TEST(LinuxFileSystemExistence, FolderExistsTakesBracketsAndBackslashesLiterally) {
  TempFolder temp;
  fs::create_directory(temp.path() / "Wallpapers [4K]");
  fs::create_directory(temp.path() / "Photos 4");
  fs::create_directory(temp.path() / "back\\slash");
  fs::create_directory(temp.path() / "[x] y");
  fs::create_directory(temp.path() / ".hidden [1]");
  LinuxFileSystem files;
  EXPECT_TRUE(files.FolderExists(temp / "Wallpapers [4K]"));
  EXPECT_TRUE(files.FolderExists(temp / "Wallpapers [4K]/"));
  EXPECT_FALSE(files.FolderExists(temp / "Photos [4K]")) << "no character class";
  EXPECT_TRUE(files.FolderExists(temp / "back\\slash"));
  EXPECT_FALSE(files.FolderExists(temp / ".hidden [1]"));

  EXPECT_TRUE(files.FolderExists(temp / "Wall* [4K]"));
  EXPECT_TRUE(files.FolderExists(temp / "Wallpapers [4?]"));
  EXPECT_FALSE(files.FolderExists(temp / "Photos [4?]"));
  EXPECT_TRUE(files.FolderExists(temp / "back\\sl*"));
  EXPECT_TRUE(files.FolderExists(temp / "[x]*"));
  EXPECT_FALSE(files.FolderExists(temp / "*hidden*")) << "a wildcard skips hidden names";
  EXPECT_FALSE(files.FolderExists(temp / "Wall?"));
}

}  // namespace
}  // namespace vellumo
