#include "images/image_list.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes.h"
#include "ui/main_form.h"

namespace vellumo {
namespace {

using ::testing::ElementsAre;
using testing::FakeSystem;
using ::testing::IsEmpty;

// The settings window's list, built from the fake file system.
class ImageListTest : public ::testing::Test {
 protected:
  explicit ImageListTest(char separator = '\\') : fake_(separator) {}

  // Loads the main window's logic (settings, then the list) from the fake store.
  ImageList& Load(bool background = false) {
    state_.bBackgroundRun = background;
    changing_ = std::make_unique<ChangingForm>(state_, fake_.platform);
    main_ = std::make_unique<MainForm>(state_, fake_.platform, *changing_);
    main_->Loading();
    return main_->Images();
  }

  void UseSource(const std::string& folder, int source_type) {
    fake_.store.values["sSourceFolder"] = folder;
    fake_.store.values["iSourceType"] = std::to_string(source_type);
    fake_.store.values["bFadeOut"] = "False";
  }

  const std::vector<std::string>& Paths() const { return state_.sImagePaths; }

  FakeSystem fake_;
  State state_;
  std::unique_ptr<ChangingForm> changing_;
  std::unique_ptr<MainForm> main_;
};

TEST_F(ImageListTest, ASingleFolderListsItsPicturesOnly) {
  fake_.files.AddFolder("C:\\F");
  for (const char* name : {"a.JPG", "b.jpeg", "c.txt", "d.gif"})
    fake_.files.AddFile(std::string("C:\\F\\") + name);
  UseSource("C:\\F", 1);
  ImageList& list = Load();
  EXPECT_THAT(list.Names(), ElementsAre("a", "b", "d"));
  EXPECT_THAT(Paths(), ElementsAre("C:\\F\\a.JPG", "C:\\F\\b.jpeg", "C:\\F\\d.gif"));
  EXPECT_EQ(list.Caption(), "Images (3)");
  EXPECT_TRUE(list.NextEnabled());
}

TEST_F(ImageListTest, WhatTheFileListLeavesOut) {
  fake_.files.AddFolder("C:\\F");
  fake_.files.AddFile("C:\\F\\shown.bmp", attr::kReadOnly);
  fake_.files.AddFile("C:\\F\\plain.gif", attr::kNormal);
  fake_.files.AddFile("C:\\F\\hidden.jpg", attr::kHidden | attr::kArchive);
  fake_.files.AddFile("C:\\F\\system.jpg", attr::kSystem);
  fake_.files.AddFolder("C:\\F\\holiday.jpg");
  fake_.files.AddFile("C:\\F\\notes.jpg.txt");
  fake_.files.AddFile("C:\\F\\jpg");
  fake_.files.AddFile("C:\\F\\.gif");
  fake_.files.AddFile("C:\\F\\photo.JPEG");
  fake_.files.AddFile("C:\\F\\photo.jpe");
  UseSource("C:\\F", 1);
  ImageList& list = Load();
  EXPECT_THAT(list.Names(), ElementsAre("", "photo", "plain", "shown"));
  EXPECT_THAT(Paths(), ElementsAre("C:\\F\\.gif", "C:\\F\\photo.JPEG", "C:\\F\\plain.gif",
                                   "C:\\F\\shown.bmp"));
}

TEST_F(ImageListTest, NamesAreOrderedWithoutRegardToCase) {
  fake_.files.AddFolder("C:\\F");
  for (const char* name : {"c.JPG", "b.jpg", "A.jpg", "a10.gif", "a2.gif", "_x.bmp", "Z.bmp"})
    fake_.files.AddFile(std::string("C:\\F\\") + name);
  UseSource("C:\\F", 1);
  EXPECT_THAT(Load().Names(), ElementsAre("_x", "A", "a10", "a2", "b", "c", "Z"));
}

TEST_F(ImageListTest, NothingToListGivesAnEmptyListAndLeavesTheButtonAsItWas) {
  fake_.files.AddFolder("C:\\Empty");
  fake_.files.AddFolder("C:\\F");
  fake_.files.AddFile("C:\\F\\a.jpg");
  UseSource("C:\\Empty", 1);
  ImageList& list = Load();
  EXPECT_EQ(list.Caption(), "Images (0)");
  EXPECT_THAT(list.Names(), IsEmpty());
  EXPECT_FALSE(list.NextEnabled());

  state_.settings.sSourceFolder = "C:\\F";
  list.Reset_List();
  EXPECT_TRUE(list.NextEnabled());
  for (int16_t mode : {0, 3, 7, -1}) {
    state_.settings.iSourceType = mode;
    list.Reset_List();
    EXPECT_EQ(list.Caption(), "Images (0)") << mode;
    EXPECT_THAT(Paths(), IsEmpty()) << mode;
    EXPECT_TRUE(list.NextEnabled()) << "an empty list never disables the button";
  }
}

TEST_F(ImageListTest, ResetListRebuildsWithoutDuplicates) {
  fake_.files.AddFolder("C:\\F");
  fake_.files.AddFile("C:\\F\\a.jpg");
  fake_.files.AddFile("C:\\F\\b.jpg");
  fake_.files.AddFolder("C:\\G");
  fake_.files.AddFile("C:\\G\\g.gif");
  UseSource("C:\\F", 1);
  ImageList& list = Load();
  list.Reset_List();
  list.Reset_List();
  EXPECT_THAT(Paths(), ElementsAre("C:\\F\\a.jpg", "C:\\F\\b.jpg"));
  EXPECT_EQ(list.Names().size(), Paths().size());
  EXPECT_EQ(list.Caption(), "Images (2)");

  state_.settings.sSourceFolder = "C:\\G";
  list.Reset_List();
  EXPECT_THAT(Paths(), ElementsAre("C:\\G\\g.gif"));
  EXPECT_EQ(list.SourceText(), "C:\\G");
}

TEST_F(ImageListTest, SwitchingFromTheTreeToOneFolderDropsTheSubFolders) {
  fake_.files.AddFolder("C:\\R");
  fake_.files.AddFile("C:\\R\\top.jpg");
  fake_.files.AddFolder("C:\\R\\Sub");
  fake_.files.AddFile("C:\\R\\Sub\\deep.jpg");
  UseSource("C:\\R", 2);
  ImageList& list = Load();
  EXPECT_THAT(Paths(), ElementsAre("C:\\R\\top.jpg", "C:\\R\\Sub\\deep.jpg"));
  state_.settings.iSourceType = 1;
  list.Reset_List();
  EXPECT_THAT(Paths(), ElementsAre("C:\\R\\top.jpg"));
  EXPECT_THAT(list.Names(), ElementsAre("top"));
  EXPECT_EQ(list.Caption(), "Images (1)");
}

TEST_F(ImageListTest, AnEmptyOrMissingSourceGivesAnEmptyList) {
  for (int mode : {1, 2}) {
    for (const char* source : {"", "C:\\Missing"}) {
      FakeSystem fake;
      fake.files.AddFolder("C:\\WINDOWS");
      fake.files.AddFile("C:\\WINDOWS\\bliss.bmp");
      State state;
      state.settings.sSourceFolder = source;
      state.settings.iSourceType = static_cast<int16_t>(mode);
      state.settings.bFadeOut = false;
      ChangingForm changing(state, fake.platform);
      MainEvents no_events;
      auto view = fake.views.CreateMain(no_events);
      ImageList list(state, fake.platform, changing, *view);
      list.Reset_List();
      EXPECT_THAT(state.sImagePaths, IsEmpty()) << mode << " '" << source << "'";
      EXPECT_EQ(list.Caption(), "Images (0)");
    }
  }
}

TEST_F(ImageListTest, ADriveRootGetsNoDoubledSeparator) {
  fake_.files.AddFolder("D:\\");
  fake_.files.AddFile("D:\\root.jpg");
  fake_.files.AddFolder("D:\\Sub");
  fake_.files.AddFile("D:\\Sub\\below.gif");
  UseSource("D:\\", 2);
  ImageList& list = Load();
  EXPECT_THAT(Paths(), ElementsAre("D:\\root.jpg", "D:\\Sub\\below.gif"));
  state_.settings.iSourceType = 1;
  list.Reset_List();
  EXPECT_THAT(Paths(), ElementsAre("D:\\root.jpg")) << "the same path string in every build";
}

TEST_F(ImageListTest, AnInteractiveBuildLeavesNoChangeScreen) {
  fake_.files.AddFolder("C:\\F");
  fake_.files.AddFile("C:\\F\\a.jpg");
  fake_.files.AddFolder("C:\\F\\Sub");
  UseSource("C:\\F", 1);
  ImageList& list = Load();
  EXPECT_EQ(fake_.views.LastScreen(), nullptr) << "one folder is listed without the screen";

  state_.settings.iSourceType = 2;
  list.Reset_List();
  ASSERT_NE(fake_.views.LastScreen(), nullptr);
  EXPECT_EQ(fake_.views.LastScreen()->shows, 1);
  EXPECT_TRUE(fake_.views.LastScreen()->destroyed) << "the search's progress window is closed";
  EXPECT_FALSE(changing_->IsLoaded());
}

class SlashImageListTest : public ImageListTest {
 protected:
  SlashImageListTest() : ImageListTest('/') {}
};

TEST_F(SlashImageListTest, AnEmptySourceNeverBecomesTheRoot) {
  fake_.files.AddFolder("/");
  fake_.files.AddFile("/root.jpg");
  fake_.files.AddFolder("/etc");
  fake_.files.AddFile("/etc/logo.gif");
  fake_.platform.windows_path = "/usr/share/backgrounds/";  // missing: loads as empty
  fake_.store.values["iSourceType"] = "2";
  ImageList& list = Load();
  EXPECT_EQ(state_.settings.sSourceFolder, "");
  EXPECT_THAT(Paths(), IsEmpty());
  EXPECT_EQ(list.Caption(), "Images (0)");
  EXPECT_EQ(fake_.files.list_calls.count("/"), 0u);
}

TEST_F(SlashImageListTest, PathsUseTheSystemSeparator) {
  fake_.files.AddFolder("/home/me/Pictures");
  fake_.files.AddFile("/home/me/Pictures/b.GIF");
  fake_.files.AddFile("/home/me/Pictures/a.bmp");
  fake_.files.AddFolder("/home/me/Pictures/2009");
  fake_.files.AddFile("/home/me/Pictures/2009/x.jpg");
  UseSource("/home/me/Pictures/", 2);
  Load();
  EXPECT_THAT(Paths(), ElementsAre("/home/me/Pictures/a.bmp", "/home/me/Pictures/b.GIF",
                                   "/home/me/Pictures/2009/x.jpg"));
}

}  // namespace
}  // namespace vellumo
