#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "partial_files.h"
#include "platform/partial_file.h"
#include "test_folder.h"
#include "utf.h"

namespace vellumo {
namespace {

using test::TestFolder;

TEST(PartialFiles, EachWriteGetsANewEmptyFileOfOurOwnNameBesideTheBitmap) {
  TestFolder folder;
  const std::string target = folder / "vellumo.bmp";
  const auto first = CreatePartialFile(Widen(target));
  const auto second = CreatePartialFile(Widen(target));
  ASSERT_FALSE(first.empty());
  ASSERT_FALSE(second.empty());
  EXPECT_NE(first, second);
  for (const auto& path : {first, second}) {
    EXPECT_EQ(Narrow(path.parent_path().wstring()), folder.path());
    EXPECT_TRUE(IsPartialFileOf(Narrow(path.filename().wstring()), "vellumo.bmp")) << path;
    EXPECT_EQ(test::ReadAll(Narrow(path.wstring())), "");
  }
  EXPECT_TRUE(CreatePartialFile(Widen(folder / "missing\\vellumo.bmp")).empty());
}

TEST(PartialFiles, CleanupRemovesOnlyLeftOversOfOurOwnThatNobodyIsWriting) {
  TestFolder folder;
  const std::string bitmap = folder.AddFile("vellumo.bmp", "the wallpaper");
  folder.AddFile("vellumo.bmp.partial-ab12cd", "killed");
  folder.AddFile("vellumo.bmp.partial-ZZ9999", "killed");
  // Which names are ours is settled by the core's own test; these only show the filter is used.
  const std::vector<std::string> kept = {"vel1a2b.tmp", "vellumo.bmp.partial-abc"};
  for (const auto& name : kept) folder.AddFile(name, "keep");
  folder.AddFolder("vellumo.bmp.partial-folder");
  // A write in progress (the settings window's, say) holds its file open.
  const std::string writing = folder.AddFile("vellumo.bmp.partial-wr1t3s");
  const HANDLE open =
      CreateFileW(Widen(writing).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(open, INVALID_HANDLE_VALUE);
  TestFolder elsewhere;
  elsewhere.AddFile("vellumo.bmp.partial-ab12cd");

  RemoveStalePartials(bitmap);
  CloseHandle(open);

  auto expected = kept;
  expected.push_back("vellumo.bmp");
  expected.push_back("vellumo.bmp.partial-folder");
  expected.push_back("vellumo.bmp.partial-wr1t3s");
  std::sort(expected.begin(), expected.end());
  auto names = folder.Names();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, expected);
  EXPECT_EQ(elsewhere.Names().size(), 1u);
}

}  // namespace
}  // namespace vellumo
