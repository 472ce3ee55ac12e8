#include "change/selection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "change/change_screen.h"
#include "fakes.h"
#include "ui/main_form.h"

namespace vellumo {
namespace {

using testing::FakeSystem;
using ::testing::Pair;
using testing::ScreenRecord;

const std::vector<std::string> kThree = {"C:\\P\\a.jpg", "C:\\P\\b.jpg", "C:\\P\\c.jpg"};

std::string Sequential(const std::vector<std::string>& paths, std::string last) {
  const std::string picked = Pick_Sequential(paths, last);
  EXPECT_EQ(last, picked) << "the pick becomes the last file";
  return picked;
}

TEST(PickSequential, FollowsTheListAndWrapsAround) {
  EXPECT_EQ(Sequential(kThree, kThree[0]), kThree[1]);
  EXPECT_EQ(Sequential(kThree, kThree[1]), kThree[2]);
  EXPECT_EQ(Sequential(kThree, kThree[2]), kThree[0]);
  EXPECT_EQ(Sequential(kThree, ""), kThree[0]);
  EXPECT_EQ(Sequential(kThree, "C:\\P\\gone.jpg"), kThree[0]);
  EXPECT_EQ(Sequential(kThree, "C:\\P\\A.JPG"), kThree[0]) << "paths are compared exactly";
  EXPECT_EQ(Sequential({"C:\\only.gif"}, "C:\\only.gif"), "C:\\only.gif");
  EXPECT_EQ(Sequential({"C:\\only.gif"}, "elsewhere"), "C:\\only.gif");
}

TEST(PickSequentialAndRandom, AnEmptyListPicksNothingAndKeepsTheLastFile) {
  std::mt19937_64 generator(7);
  std::string last = "C:\\P\\a.jpg";
  EXPECT_EQ(Pick_Sequential({}, last), "");
  EXPECT_EQ(last, "C:\\P\\a.jpg");
  EXPECT_EQ(Pick_Random({}, last, false, generator), "");
  EXPECT_EQ(last, "C:\\P\\a.jpg");
}

TEST(PickSequential, TheFirstMatchingPositionCounts) {
  const std::vector<std::string> paths = {"x", "y", "x", "z"};
  EXPECT_EQ(Sequential(paths, "x"), "y");
}

TEST(PickRandom, OnePathIsTakenWithoutDrawing) {
  std::mt19937_64 generator(7);
  const std::mt19937_64 before = generator;
  std::string last = "C:\\only.gif";
  EXPECT_EQ(Pick_Random({"C:\\only.gif"}, last, false, generator), "C:\\only.gif");
  EXPECT_EQ(last, "C:\\only.gif");
  EXPECT_EQ(generator, before);
  EXPECT_EQ(Pick_Random({}, last, false, generator), "");
  EXPECT_EQ(generator, before);
}

TEST(PickRandom, WithoutRepeatsTwoPathsStrictlyAlternate) {
  std::mt19937_64 generator(1);
  const std::vector<std::string> two = {"C:\\a.jpg", "C:\\b.jpg"};
  std::string last = two[0];
  for (int i = 0; i < 200; ++i) {
    const std::string before = last;
    const std::string picked = Pick_Random(two, last, false, generator);
    ASSERT_NE(picked, before) << "draw " << i;
    EXPECT_EQ(last, picked);
  }
}

TEST(PickRandom, PathsDifferingInCaseAreDifferentPictures) {
  std::mt19937_64 generator(3);
  std::string last = "C:\\a.jpg";
  for (int i = 0; i < 50; ++i) {
    last = "C:\\a.jpg";
    EXPECT_EQ(Pick_Random({"C:\\a.jpg", "C:\\A.jpg"}, last, false, generator), "C:\\A.jpg");
  }
}

TEST(PickRandom, WithRepeatsTheLastPictureMayComeAgain) {
  std::mt19937_64 generator(11);
  std::string last = kThree[0];
  int repeats = 0;
  std::set<std::string> seen;
  for (int i = 0; i < 300; ++i) {
    const std::string before = last;
    const std::string picked = Pick_Random(kThree, last, true, generator);
    repeats += picked == before;
    seen.insert(picked);
  }
  EXPECT_GT(repeats, 0);
  EXPECT_EQ(seen.size(), 3u) << "every picture comes up";
}

TEST(PickRandom, AListMadeOnlyOfTheLastFileDoesNotLoopForever) {
  std::mt19937_64 generator(5);
  std::string last = "C:\\same.jpg";
  EXPECT_EQ(Pick_Random({"C:\\same.jpg", "C:\\same.jpg", "C:\\same.jpg"}, last, false, generator),
            "C:\\same.jpg");
  last = "C:\\same.jpg";
  for (int i = 0; i < 20; ++i) {
    last = "C:\\same.jpg";
    EXPECT_EQ(
        Pick_Random({"C:\\same.jpg", "C:\\other.jpg", "C:\\same.jpg"}, last, false, generator),
        "C:\\other.jpg");
  }
}

// Next_Picture on the settings window's logic, with a folder of three pictures.
class NextPictureTest : public ::testing::Test {
 protected:
  NextPictureTest() {
    fake_.files.AddFolder("C:\\P");
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
      fake_.files.AddFile(std::string("C:\\P\\") + name);
    fake_.store.values = {{"sSourceFolder", "C:\\P"},
                          {"bRandom", "False"},
                          {"bFadeOut", "False"},
                          {"sLastFile", "C:\\P\\a.jpg"}};
  }

  FakeSystem fake_;
  State state_;
};

TEST_F(NextPictureTest, BackgroundRunArmsTheChangeAndStoresNothingUntilTheTick) {
  state_.bBackgroundRun = true;
  ChangingForm changing(state_, fake_.platform);
  MainForm main(state_, fake_.platform, changing);
  main.Loading();
  ASSERT_EQ(state_.sImagePaths.size(), 3u);
  const int yields_before = fake_.loop.yields;

  main.Next_Picture();
  EXPECT_EQ(state_.sCurrentFile, "C:\\P\\b.jpg");
  EXPECT_EQ(state_.settings.sLastFile, "C:\\P\\b.jpg");
  EXPECT_TRUE(changing.TimerArmed());
  EXPECT_EQ(changing.FileName(), testing::FakeTruncate("C:\\P\\b.jpg"));
  EXPECT_EQ(fake_.views.LastScreen()->modal_shows, 0);
  EXPECT_EQ(fake_.loop.yields, yields_before + 1);
  EXPECT_TRUE(fake_.store.writes.empty());
  EXPECT_EQ(fake_.store.values.at("sLastFile"), "C:\\P\\a.jpg");

  fake_.views.FireTimers();
  EXPECT_THAT(fake_.store.writes, ::testing::ElementsAre(Pair("sLastFile", "C:\\P\\b.jpg")));
}

TEST_F(NextPictureTest, InteractiveRunShowsTheChangeScreenModallyUntilTheChangeIsDone) {
  ChangingForm changing(state_, fake_.platform);
  MainForm main(state_, fake_.platform, changing);
  main.Loading();

  main.Next_Picture();
  const ScreenRecord& screen = *fake_.views.LastScreen();
  EXPECT_EQ(screen.modal_shows, 1);
  EXPECT_EQ(screen.shows, 0);
  EXPECT_TRUE(screen.destroyed) << "the modal show returns once the screen has closed";
  EXPECT_EQ(fake_.store.values.at("sLastFile"), "C:\\P\\b.jpg");
  const auto& j = fake_.journal;
  EXPECT_LT(j.Find("screen.timer 200"), j.Find("screen.modal"));
  EXPECT_LT(j.Find("screen.modal"), j.Find("write sLastFile=C:\\P\\b.jpg"));
  EXPECT_EQ(j.entries.back(), "yield") << "one yield after the modal show";

  main.Next_Picture();
  EXPECT_EQ(state_.sCurrentFile, "C:\\P\\c.jpg");
  main.Next_Picture();
  EXPECT_EQ(state_.sCurrentFile, "C:\\P\\a.jpg");
  EXPECT_EQ(fake_.desktop.calls.size(), 3u);
}

TEST(FallbacksTest, EveryOtherPictureOnceAndThePictureShownBeforeLastInRandomOrder) {
  const std::vector<std::string> paths = {"a", "b", "c", "d", "e"};
  std::mt19937_64 generator(7);
  for (int run = 0; run < 20; ++run) {
    Fallbacks random(paths, "c", "a", true, false, generator);
    std::vector<std::string> order;
    for (std::string next = random.Next(); !next.empty(); next = random.Next())
      order.push_back(next);
    ASSERT_EQ(order.size(), 4u);
    EXPECT_EQ(std::set<std::string>(order.begin(), order.end()),
              (std::set<std::string>{"a", "b", "d", "e"}));
    EXPECT_EQ(order.back(), "a");
  }
  Fallbacks listed(paths, "d", "a", false, false, generator);
  std::vector<std::string> order;
  for (std::string next = listed.Next(); !next.empty(); next = listed.Next()) order.push_back(next);
  EXPECT_EQ(order, (std::vector<std::string>{"e", "a", "b", "c"})) << "round the list";
}

TEST_F(NextPictureTest, RandomOrderNeverRepeatsTheLastPicture) {
  fake_.store.values["bRandom"] = "True";
  ChangingForm changing(state_, fake_.platform);
  MainForm main(state_, fake_.platform, changing);
  main.Loading();
  std::string previous = state_.settings.sLastFile;
  for (int i = 0; i < 20; ++i) {
    main.Next_Picture();
    EXPECT_NE(state_.sCurrentFile, previous);
    EXPECT_EQ(fake_.store.values.at("sLastFile"), state_.sCurrentFile);
    previous = state_.sCurrentFile;
  }
}

}  // namespace
}  // namespace vellumo
