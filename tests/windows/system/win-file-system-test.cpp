#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>

#include "test_folder.h"
#include "utf.h"
#include "win_file_system.h"

namespace vellumo {
namespace {

using test::SetAttributes;
using test::TestFolder;

// False when the system cannot make one: Windows without the right to, or Wine, whose
// CreateSymbolicLinkW reports success without creating anything.
bool MakeFolderLink(const std::string& link, const std::string& target) {
  return CreateSymbolicLinkW(Widen(link).c_str(), Widen(target).c_str(),
                             SYMBOLIC_LINK_FLAG_DIRECTORY) &&
         GetFileAttributesW(Widen(link).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::map<std::string, uint32_t> Listing(WinFileSystem& files, const std::string& folder) {
  std::vector<DirEntry> entries;
  EXPECT_TRUE(files.List(folder, entries)) << folder;
  std::map<std::string, uint32_t> by_name;
  for (const auto& entry : entries) by_name[entry.name] = entry.attributes;
  return by_name;
}

TEST(WinFileSystemList, ReportsEveryEntryWithItsAttributesAsWindowsDoes) {
  TestFolder root;
  root.AddFile("a.jpg");
  root.AddFile("写真.JPG");
  SetAttributes(root.AddFile("locked.bmp"), FILE_ATTRIBUTE_READONLY);
  SetAttributes(root.AddFile("secret.gif"), FILE_ATTRIBUTE_HIDDEN);
  root.AddFolder("plain");
  SetAttributes(root.AddFolder("hidden"), FILE_ATTRIBUTE_HIDDEN);
  SetAttributes(root.AddFolder("system"), FILE_ATTRIBUTE_SYSTEM);
  SetAttributes(root.AddFolder("readonly"), FILE_ATTRIBUTE_READONLY);
  WinFileSystem files;

  const auto entries = Listing(files, root.path());
  ASSERT_EQ(entries.size(), 8u);  // "." and ".." are not entries
  EXPECT_EQ(entries.at("a.jpg") & attr::kDirectory, 0u);
  EXPECT_TRUE(entries.count("写真.JPG"));
  EXPECT_NE(entries.at("locked.bmp") & attr::kReadOnly, 0u);
  EXPECT_NE(entries.at("secret.gif") & attr::kHidden, 0u);
  // A plain folder carries the directory bit alone: the folder search enters it.
  EXPECT_EQ(entries.at("plain"), attr::kDirectory);
  EXPECT_EQ(entries.at("hidden"), attr::kDirectory | attr::kHidden);
  EXPECT_NE(entries.at("system") & attr::kSystem, 0u);
  // Whatever the system keeps for each entry comes through unchanged (Wine, for one, keeps no
  // read-only bit on folders).
  for (const auto& [name, attributes] : entries)
    EXPECT_EQ(attributes, GetFileAttributesW(Widen(root / name).c_str())) << name;

  // A trailing backslash lists the same folder.
  EXPECT_EQ(Listing(files, root.path() + "\\"), entries);
}

TEST(WinFileSystemList, LeavesOutNamesThatHaveNoUtf8Form) {
  TestFolder root;
  root.AddFile("kept.jpg");
  // An unpaired surrogate: a name Windows allows but UTF-8 cannot carry.
  const std::wstring lone = Widen(root.path()) + L"\\lone\xD800.jpg";
  const HANDLE file = CreateFileW(lone.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) GTEST_SKIP() << "the file system takes no such name";
  CloseHandle(file);
  WinFileSystem files;

  const auto entries = Listing(files, root.path());
  DeleteFileW(lone.c_str());
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_TRUE(entries.count("kept.jpg"));
}

TEST(WinFileSystemList, SeesLinksAsReparsePoints) {
  TestFolder root;
  const std::string target = root.AddFolder("target");
  const std::string link = root / "link";
  if (!MakeFolderLink(link, target)) GTEST_SKIP() << "cannot create folder links here";
  WinFileSystem files;
  const auto entries = Listing(files, root.path());
  ASSERT_TRUE(entries.count("link"));
  // Not exactly "directory", so the folder search never follows a link back into the tree.
  EXPECT_NE(entries.at("link") & attr::kReparsePoint, 0u);
  EXPECT_NE(entries.at("link"), attr::kDirectory);
}

TEST(WinFileSystemList, FailsCleanlyOnWhatCannotBeListed) {
  TestFolder root;
  WinFileSystem files;
  std::vector<DirEntry> entries{{"stale", 0}};
  EXPECT_FALSE(files.List("", entries));
  EXPECT_TRUE(entries.empty());
  EXPECT_FALSE(files.List(root / "missing", entries));
  EXPECT_FALSE(files.List(root.AddFile("file.jpg"), entries));
  EXPECT_FALSE(files.List(root.path() + "\\" + std::string(400, 'x'), entries));

  EXPECT_TRUE(files.List(root.AddFolder("empty"), entries));
  EXPECT_TRUE(entries.empty());
}

TEST(WinFileSystemList, FolderBeyondMaxPathIsListedAndFound) {
  TestFolder root;
  std::wstring deep = L"\\\\?\\" + Widen(root.path());
  for (int level = 0; level < 5; ++level) {
    deep += L"\\" + std::wstring(60, L'd');
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
  }
  ASSERT_TRUE(CreateDirectoryW((deep + L"\\inner").c_str(), nullptr));
  const HANDLE file = CreateFileW((deep + L"\\deep.jpg").c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  const std::string folder = Narrow(deep.substr(4));
  ASSERT_GT(folder.size(), static_cast<size_t>(MAX_PATH));
  WinFileSystem files;

  const auto entries = Listing(files, folder);
  EXPECT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries.count("deep.jpg"), 1u);
  EXPECT_EQ(entries.count("inner"), 1u);
  EXPECT_EQ(Listing(files, folder + "\\inner"), (std::map<std::string, uint32_t>{}));
  EXPECT_TRUE(files.FolderExists(folder));
  EXPECT_TRUE(files.FolderExists(folder + "\\"));
  EXPECT_FALSE(files.FolderExists(folder + "\\missing"));
  EXPECT_TRUE(files.FileExists(folder + "\\deep.jpg"));
  EXPECT_FALSE(files.FileExists(folder + "\\missing.jpg"));
}

TEST(WinFileSystemExists, FileExistsForFilesAndFoldersButNotTheEmptyPath) {
  TestFolder root;
  WinFileSystem files;
  EXPECT_FALSE(files.FileExists(""));
  EXPECT_TRUE(files.FileExists(root.AddFile("海.jpg")));
  EXPECT_TRUE(files.FileExists(root.path()));
  EXPECT_TRUE(files.FileExists(root.path() + "\\"));
  EXPECT_FALSE(files.FileExists(root / "missing.jpg"));
}

TEST(WinFileSystemExists, FolderExistsMatchesThePathAsAPattern) {
  TestFolder root;
  const std::string plain = root.AddFolder("plain");
  const std::string hidden = root.AddFolder("hidden");
  SetAttributes(hidden, FILE_ATTRIBUTE_HIDDEN);
  const std::string system = root.AddFolder("system");
  SetAttributes(system, FILE_ATTRIBUTE_SYSTEM);
  const std::string japanese = root.AddFolder("日本");
  const std::string file = root.AddFile("photo.jpg");
  SetAttributes(root.AddFile("secret.jpg"), FILE_ATTRIBUTE_HIDDEN);
  WinFileSystem files;

  EXPECT_FALSE(files.FolderExists(""));
  EXPECT_TRUE(files.FolderExists(plain));
  EXPECT_TRUE(files.FolderExists(plain + "\\"));
  EXPECT_TRUE(files.FolderExists(japanese));
  EXPECT_TRUE(files.FolderExists(japanese + "\\"));
  // Hidden and system entries are not listed; the folder's own "." entry still is.
  EXPECT_FALSE(files.FolderExists(hidden));
  EXPECT_TRUE(files.FolderExists(hidden + "\\"));
  EXPECT_FALSE(files.FolderExists(system));
  EXPECT_TRUE(files.FolderExists(system + "\\"));
  // A plain file matches itself; a hidden one does not.
  EXPECT_TRUE(files.FolderExists(file));
  EXPECT_FALSE(files.FolderExists(root / "secret.jpg"));
  // Wildcards hold as soon as anything listed matches.
  EXPECT_TRUE(files.FolderExists(root / "*.JPG"));
  EXPECT_TRUE(files.FolderExists(root / "pl?in"));
  EXPECT_FALSE(files.FolderExists(root / "*.png"));
  EXPECT_FALSE(files.FolderExists(root / "secret.*"));
  EXPECT_FALSE(files.FolderExists(root / "missing"));
  EXPECT_FALSE(files.FolderExists(root / "missing\\"));
  EXPECT_FALSE(files.FolderExists(file + "\\"));
}

TEST(WinFileSystemExists, DriveRootIsAFolder) {
  WinFileSystem files;
  EXPECT_TRUE(files.FolderExists("C:\\"));
  EXPECT_TRUE(files.FileExists("C:\\"));
  std::vector<DirEntry> entries;
  EXPECT_TRUE(files.List("C:\\", entries));
  EXPECT_FALSE(entries.empty());
  EXPECT_EQ(files.Separator(), '\\');
}

}  // namespace
}  // namespace vellumo
