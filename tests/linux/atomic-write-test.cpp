#include "atomic_write.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "temp_folder.h"

namespace vellumo {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

size_t EntriesIn(const fs::path& folder) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(WriteFileAtomically, ReplacesTheWholeFileAndLeavesNothingElse) {
  TempFolder folder;
  const std::string target = folder / "new/folder/file.txt";
  ASSERT_TRUE(WriteFileAtomically(target, "a much longer first version\n"));
  EXPECT_EQ(ModeOf(target), 0600u) << "private unless asked otherwise";

  ASSERT_TRUE(
      WriteFileAtomically(target, "second\n", [](int fd) { return fchmod(fd, 0644) == 0; }));
  EXPECT_EQ(ReadFile(target), "second\n");
  EXPECT_EQ(ModeOf(target), 0644u);
  EXPECT_EQ(EntriesIn(fs::path(target).parent_path()), 1u) << "no temporary file left";
}

TEST(WriteFileAtomically, AFailedWriteKeepsTheOldFileAndLeavesNoTemporaryOne) {
  TempFolder folder;
  const std::string target = folder / "file.txt";
  WriteFile(target, "old");
  EXPECT_FALSE(WriteFileAtomically(target, "new", [](int) { return false; }));
  EXPECT_EQ(ReadFile(target), "old");

  // A folder in the file's place cannot be renamed over.
  const std::string taken = folder / "taken";
  fs::create_directory(taken);
  EXPECT_FALSE(WriteFileAtomically(taken, "new"));
  EXPECT_TRUE(fs::is_directory(taken));
  EXPECT_EQ(EntriesIn(folder.path()), 2u);
}

}  // namespace
}  // namespace vellumo
