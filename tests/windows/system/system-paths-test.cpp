#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app_paths.h"
#include "utf.h"
#include "windows_path.h"

namespace vellumo {
namespace {

TEST(Utf, ConvertsBothWaysWithoutLoss) {
  const std::string texts[] = {"", "plain", "Été à Genève", "写真\\夏.jpg",
                               "\xF0\x9F\x8C\x85 outside the basic plane"};
  for (const auto& text : texts) EXPECT_EQ(Narrow(Widen(text)), text);
  EXPECT_EQ(Widen("é海"), L"\u00e9\u6d77");
  EXPECT_EQ(Widen(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
}

TEST(Utf, TextWithoutAUtf8FormNarrowsToNothingRatherThanToAnotherName) {
  EXPECT_EQ(Narrow(L"lone\xD800.jpg"), "");
  EXPECT_EQ(Narrow(L"\xDC00"), "");
  EXPECT_EQ(Narrow(L"pair\xD83C\xDF05"), "pair\xF0\x9F\x8C\x85");
}

TEST(WindowsPath, IsAnExistingFolderEndingInOneBackslash) {
  const std::string path = Get_Windows_Path();
  ASSERT_GE(path.size(), 2u);
  EXPECT_EQ(path.back(), '\\');
  EXPECT_NE(path[path.size() - 2], '\\');
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST(AppPaths, ExeFolderHoldsTheRunningProgram) {
  const std::string folder = ExeFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), '\\');
  EXPECT_NE(GetFileAttributesW(Widen(folder + "\\vellumo_winsys_tests.exe").c_str()),
            INVALID_FILE_ATTRIBUTES);
}

TEST(AppPaths, FolderOfKeepsTheBackslashOfADriveRootOnly) {
  EXPECT_EQ(FolderOf(L"C:\\vellumo.exe"), "C:\\");
  EXPECT_EQ(FolderOf(L"C:\\Apps\\vellumo.exe"), "C:\\Apps");
  EXPECT_EQ(FolderOf(L"\\\\server\\share\\vellumo.exe"), "\\\\server\\share");
  EXPECT_EQ(FolderOf(L"vellumo.exe"), "");
}

TEST(AppPaths, BitmapGoesNextToTheProgramJoinedWithOneBackslash) {
  EXPECT_EQ(BitmapPath(), ExeFolder() + "\\vellumo.bmp");
  // C: alone would be drive C's current folder, which is not where the program is.
  EXPECT_EQ(BitmapPathFor("C:\\"), "C:\\vellumo.bmp");
  EXPECT_EQ(BitmapPathFor(""), "") << "no guess at the working folder";
}

TEST(AppPaths, FallbackBitmapGoesToAnOwnFolderInLocalAppData) {
  const std::string path = FallbackBitmapPath();
  const std::string suffix = "\\Vellumo\\vellumo.bmp";
  ASSERT_GT(path.size(), suffix.size());
  EXPECT_EQ(path.substr(path.size() - suffix.size()), suffix);
  const std::string own_folder = path.substr(0, path.size() - std::string("\\vellumo.bmp").size());
  const DWORD attributes = GetFileAttributesW(Widen(own_folder).c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  // Asking again finds the folder already there.
  EXPECT_EQ(FallbackBitmapPath(), path);
}

}  // namespace
}  // namespace vellumo
