#include "images/folder_search.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "fakes.h"

namespace vellumo {
namespace {

using ::testing::ElementsAre;
using testing::FakeSystem;
using testing::FakeTruncate;

// Builds the list of a folder tree in source mode 2.
class FolderSearchTest : public ::testing::Test {
 protected:
  FolderSearchTest() {
    state_.settings.iSourceType = 2;
    state_.settings.bFadeOut = false;
    state_.settings.sSourceFolder = "C:\\R";
  }

  ImageList& Build(bool background = false) {
    state_.bBackgroundRun = background;
    list_ = std::make_unique<ImageList>(state_, fake_.platform, changing_, *main_view_);
    list_->Build_List();
    return *list_;
  }

  // The example tree: R holds r2.jpg and r1.gif, and the sub-folders A (a1.bmp, and A1 with
  // x.jpeg) and B (b1.jpg), which the system returns in the order A, B.
  void AddExampleTree() {
    auto& f = fake_.files;
    f.AddFolder("C:\\R");
    f.AddFile("C:\\R\\r2.jpg");
    f.AddFolder("C:\\R\\A");
    f.AddFile("C:\\R\\r1.gif");
    f.AddFolder("C:\\R\\B");
    f.AddFile("C:\\R\\A\\a1.bmp");
    f.AddFolder("C:\\R\\A\\A1");
    f.AddFile("C:\\R\\A\\A1\\x.jpeg");
    f.AddFile("C:\\R\\B\\b1.jpg");
  }

  // The change screen's label texts after it was created.
  std::vector<std::string> Labels() {
    auto labels = fake_.views.LastScreen()->labels;
    if (!labels.empty() && labels.front().empty()) labels.erase(labels.begin());
    return labels;
  }

  FakeSystem fake_;
  State state_;
  ChangingForm changing_{state_, fake_.platform};
  MainEvents no_events_;
  std::unique_ptr<MainView> main_view_ = fake_.views.CreateMain(no_events_);
  std::unique_ptr<ImageList> list_;
};

TEST_F(FolderSearchTest, WalksTheTreeDepthFirstWithEachFoldersPicturesByName) {
  AddExampleTree();
  ImageList& list = Build();
  EXPECT_THAT(list.Names(), ElementsAre("r1", "r2", "a1", "x", "b1"));
  EXPECT_THAT(state_.sImagePaths, ElementsAre("C:\\R\\r1.gif", "C:\\R\\r2.jpg", "C:\\R\\A\\a1.bmp",
                                              "C:\\R\\A\\A1\\x.jpeg", "C:\\R\\B\\b1.jpg"));
  EXPECT_EQ(list.Caption(), "Images (5)");
}

TEST_F(FolderSearchTest, SubFoldersFollowTheSystemOrderNotTheirNames) {
  auto& f = fake_.files;
  f.AddFolder("C:\\R");
  f.AddFolder("C:\\R\\zeta");
  f.AddFolder("C:\\R\\Alpha");
  f.AddFile("C:\\R\\zeta\\z.jpg");
  f.AddFile("C:\\R\\Alpha\\a.jpg");
  Build();
  EXPECT_THAT(state_.sImagePaths, ElementsAre("C:\\R\\zeta\\z.jpg", "C:\\R\\Alpha\\a.jpg"));
}

TEST_F(FolderSearchTest, OnlyPlainFoldersAreEntered) {
  auto& f = fake_.files;
  f.AddFolder("C:\\R", attr::kDirectory | attr::kReadOnly);  // the source itself is listed
  f.AddFile("C:\\R\\top.jpg");
  const std::vector<std::pair<const char*, uint32_t>> skipped = {
      {"ReadOnly", attr::kDirectory | attr::kReadOnly},
      {"Hidden", attr::kDirectory | attr::kHidden},
      {"System", attr::kDirectory | attr::kSystem},
      {"Archived", attr::kDirectory | attr::kArchive},
      {"Link", attr::kDirectory | attr::kReparsePoint},
  };
  for (const auto& [name, attributes] : skipped) {
    const std::string folder = std::string("C:\\R\\") + name;
    f.AddFolder(folder, attributes);
    f.AddFile(folder + "\\inside.jpg");
    f.AddFolder(folder + "\\Plain");
    f.AddFile(folder + "\\Plain\\below.jpg");
  }
  f.AddFolder("C:\\R\\holiday.jpg");  // a folder named like a picture
  f.AddFile("C:\\R\\holiday.jpg\\beach.gif");
  f.AddFile("C:\\R\\fake.gif", attr::kDirectory);  // listed as a directory, not a picture
  Build();
  EXPECT_THAT(state_.sImagePaths, ElementsAre("C:\\R\\top.jpg", "C:\\R\\holiday.jpg\\beach.gif"));
  for (const auto& entry : skipped)
    EXPECT_EQ(fake_.files.list_calls.count(std::string("C:\\R\\") + entry.first), 0u)
        << entry.first << " must not be entered";
}

TEST_F(FolderSearchTest, AnUnreadableFolderLeavesTheRestComplete) {
  AddExampleTree();
  fake_.files.AddFolder("C:\\R\\A\\A2");
  fake_.files.AddFile("C:\\R\\A\\A2\\y.gif");
  fake_.files.FailListing("C:\\R\\A\\A1");
  Build();
  EXPECT_THAT(state_.sImagePaths, ElementsAre("C:\\R\\r1.gif", "C:\\R\\r2.jpg", "C:\\R\\A\\a1.bmp",
                                              "C:\\R\\A\\A2\\y.gif", "C:\\R\\B\\b1.jpg"));

  // An unreadable folder higher up hides everything below it, and nothing else.
  fake_.files.FailListing("C:\\R\\A");
  list_->Reset_List();
  EXPECT_THAT(state_.sImagePaths,
              ElementsAre("C:\\R\\r1.gif", "C:\\R\\r2.jpg", "C:\\R\\B\\b1.jpg"));
}

TEST_F(FolderSearchTest, EachSubFolderIsListedOnce) {
  AddExampleTree();
  Build();
  for (const char* folder : {"C:\\R\\A", "C:\\R\\A\\A1", "C:\\R\\B"})
    EXPECT_EQ(fake_.files.list_calls[folder], 1) << folder;
}

TEST_F(FolderSearchTest, ProgressShowsEveryFolderShortenedBetweenTheTwoTexts) {
  AddExampleTree();
  Build();
  EXPECT_THAT(Labels(), ElementsAre("Searching for files...", FakeTruncate("C:\\R"),
                                    FakeTruncate("C:\\R\\A"), FakeTruncate("C:\\R\\A\\A1"),
                                    FakeTruncate("C:\\R\\B"), "Search Complete"));
  const auto& truncations = fake_.views.mains.back()->truncations;
  ASSERT_EQ(truncations.size(), 4u) << "measured in the settings window";
  for (const auto& call : truncations) EXPECT_EQ(call.second, 196);
}

// Drawn at the screen's pace: within one frame only the first folder and the end; every folder
// still yields, so Esc ends a background run's search at the folder it comes in.
TEST_F(FolderSearchTest, ProgressFollowsTheFramesAndEscStillEndsTheSearchAtOnce) {
  fake_.files.AddFolder("C:\\R");
  for (int i = 0; i < 50; ++i) fake_.files.AddFolder("C:\\R\\F" + std::to_string(i));
  fake_.loop.clock_step = {};
  Build();
  EXPECT_THAT(Labels(),
              ElementsAre("Searching for files...", FakeTruncate("C:\\R"), "Search Complete"));

  int yields = 0;
  fake_.loop.on_yield = [&](int) {
    if (++yields == 3) fake_.views.LastScreen()->events->OnKeyPress(kEscape);
  };
  fake_.files.list_calls.clear();
  EXPECT_THROW(Build(/*background=*/true), testing::EndNowCalled);
  EXPECT_EQ(fake_.files.list_calls.size(), 4u) << "R and three folders, then no more";
}

TEST_F(FolderSearchTest, TheSettingsWindowIsDisabledWhileTheWalkYieldsOncePerFolder) {
  AddExampleTree();
  std::vector<bool> enabled_at_yield;
  fake_.loop.on_yield = [&](int) { enabled_at_yield.push_back(fake_.views.mains.back()->enabled); };
  Build(/*background=*/true);
  EXPECT_EQ(fake_.loop.yields, 4) << "R, A, A1 and B";
  EXPECT_THAT(enabled_at_yield, ::testing::Each(false));
  EXPECT_THAT(fake_.views.mains.back()->enabled_changes, ElementsAre(false, true));
  const auto& j = fake_.journal;
  EXPECT_LT(j.Find("main.disable"), j.Find("screen.show"));
  EXPECT_LT(j.Find("screen.label Search Complete"), j.Find("main.enable"));
}

TEST_F(FolderSearchTest, ASourceWithoutSubFoldersListsLikeOneFolder) {
  fake_.files.AddFolder("C:\\R");
  fake_.files.AddFile("C:\\R\\b.jpg");
  fake_.files.AddFile("C:\\R\\a.jpg");
  Build();
  EXPECT_THAT(state_.sImagePaths, ElementsAre("C:\\R\\a.jpg", "C:\\R\\b.jpg"));
  EXPECT_THAT(Labels(),
              ElementsAre("Searching for files...", FakeTruncate("C:\\R"), "Search Complete"));
}

TEST_F(FolderSearchTest, BackgroundAndInteractiveRunsTreatTheProgressWindowDifferently) {
  AddExampleTree();
  Build(/*background=*/true);
  EXPECT_TRUE(changing_.IsLoaded()) << "it becomes the change notice";
  EXPECT_EQ(fake_.views.LastScreen()->shows, 1);

  state_.bBackgroundRun = false;
  state_.settings.bFadeOut = true;
  list_->Reset_List();
  EXPECT_FALSE(changing_.IsLoaded());
  EXPECT_EQ(fake_.views.LastScreen()->alphas.back(), 0) << "closing fades out";
}

TEST_F(FolderSearchTest, ADeepTreeEndsNormally) {
  std::string folder = "C:\\R";
  fake_.files.AddFolder(folder);
  std::vector<std::string> expected;
  for (int level = 0; level < 200; ++level) {
    fake_.files.AddFile(folder + "\\p" + std::to_string(level) + ".jpg");
    expected.push_back(folder + "\\p" + std::to_string(level) + ".jpg");
    folder += "\\d";
    fake_.files.AddFolder(folder);
  }
  Build();
  EXPECT_EQ(state_.sImagePaths, expected);
  EXPECT_EQ(fake_.loop.yields, 201);
}

// More pictures than 16-bit list positions can address.
TEST_F(FolderSearchTest, AWideTreeEndsNormallyWithEveryPictureOnce) {
  fake_.files.AddFolder("C:\\R");
  for (int i = 0; i < 33000; ++i) fake_.files.AddFile("C:\\R\\f" + std::to_string(i) + ".jpg");
  for (int d = 0; d < 100; ++d) {
    const std::string folder = "C:\\R\\d" + std::to_string(d);
    fake_.files.AddFolder(folder);
    for (int i = 0; i < 20; ++i) fake_.files.AddFile(folder + "\\g" + std::to_string(i) + ".gif");
  }
  ImageList& list = Build();
  EXPECT_EQ(state_.sImagePaths.size(), 35000u);
  EXPECT_EQ(std::set<std::string>(state_.sImagePaths.begin(), state_.sImagePaths.end()).size(),
            35000u);
  EXPECT_EQ(list.Caption(), "Images (35000)");
  EXPECT_EQ(state_.sImagePaths.front(), "C:\\R\\f0.jpg");
  EXPECT_EQ(state_.sImagePaths[1], "C:\\R\\f1.jpg");
  EXPECT_EQ(state_.sImagePaths[2], "C:\\R\\f10.jpg");
  EXPECT_EQ(fake_.loop.yields, 101);
}

}  // namespace
}  // namespace vellumo
