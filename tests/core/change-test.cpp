#include "change/change_screen.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes.h"
#include "startup/main.h"

namespace vellumo {
namespace {

using ::testing::_;
using ::testing::ElementsAre;
using testing::EndNowCalled;
using testing::FakeSystem;
using testing::FakeTruncate;
using ::testing::Pair;
using testing::ScreenRecord;

TEST(LabelWidth, TwipsBecomeWholePixels) {
  EXPECT_EQ(TwipsToPixels(2940, 96), 196);
  EXPECT_EQ(TwipsToPixels(2940, 120), 245);
  EXPECT_EQ(TwipsToPixels(2940, 144), 294);
  EXPECT_EQ(TwipsToPixels(2940, 72), 147);
  EXPECT_EQ(TwipsToPixels(2940, 100), 210) << "14 whole twips per pixel";
  EXPECT_GT(TwipsToPixels(2940, 0), 0) << "no division by zero";
  EXPECT_GT(TwipsToPixels(2940, 2000), 0);
}

class ChangeScreenTest : public ::testing::Test {
 protected:
  ChangeScreenTest() {
    state_.sCurrentFile = "C:\\Pictures\\beach.jpg";
    state_.settings.bFadeOut = false;
  }

  ScreenRecord& Screen() { return *fake_.views.LastScreen(); }

  FakeSystem fake_;
  State state_;
  ChangingForm changing_{state_, fake_.platform};
};

TEST_F(ChangeScreenTest, TriggerShowsTheShortenedPathAndArmsTheTimer) {
  changing_.TriggerNextPic();
  EXPECT_TRUE(changing_.IsLoaded());
  EXPECT_THAT(Screen().truncations, ElementsAre(Pair("C:\\Pictures\\beach.jpg", 196)));
  EXPECT_EQ(Screen().labels.back(), FakeTruncate("C:\\Pictures\\beach.jpg"));
  EXPECT_THAT(Screen().timers_started, ElementsAre(200));
  EXPECT_TRUE(changing_.TimerArmed());
  EXPECT_EQ(Screen().shows + Screen().modal_shows, 0) << "showing is the caller's business";
  EXPECT_TRUE(fake_.pictures.calls.empty());
}

TEST_F(ChangeScreenTest, TriggerMeasuresAtTheScreensResolution) {
  fake_.loop.dpi = 120;
  changing_.TriggerNextPic();
  EXPECT_THAT(Screen().truncations, ElementsAre(Pair("C:\\Pictures\\beach.jpg", 245)));
}

TEST_F(ChangeScreenTest, TheTickAppliesStoresAndCloses) {
  changing_.TriggerNextPic();
  EXPECT_EQ(fake_.views.FireTimers(), 1);
  EXPECT_THAT(fake_.pictures.calls,
              ElementsAre(Pair("C:\\Pictures\\beach.jpg", "C:\\Vellumo\\vellumo.bmp")));
  ASSERT_EQ(fake_.desktop.calls.size(), 1u);
  EXPECT_THAT(fake_.store.writes, ElementsAre(Pair("sLastFile", "C:\\Pictures\\beach.jpg")));
  EXPECT_TRUE(Screen().destroyed);
  EXPECT_FALSE(changing_.IsLoaded());
  EXPECT_FALSE(changing_.TimerArmed());
  EXPECT_EQ(changing_.LastChange().outcome, ChangeOutcome::kApplied);
  EXPECT_TRUE(Screen().alphas.empty()) << "no fade without bFadeOut";
  const auto& j = fake_.journal;
  EXPECT_LT(j.Find("desktop C:\\Vellumo\\vellumo.bmp stretched"),
            j.Find("write sLastFile=C:\\Pictures\\beach.jpg"));
  EXPECT_LT(j.Find("write sLastFile=C:\\Pictures\\beach.jpg"), j.Find("screen.destroy"));
}

TEST_F(ChangeScreenTest, TheLastFileIsStoredEvenWhenThePictureFails) {
  fake_.pictures.size.reset();
  changing_.TriggerNextPic();
  fake_.views.FireTimers();
  EXPECT_TRUE(fake_.desktop.calls.empty());
  EXPECT_EQ(fake_.store.values.at("sLastFile"), "C:\\Pictures\\beach.jpg");
  EXPECT_EQ(changing_.LastChange().outcome, ChangeOutcome::kPictureFailed);
  EXPECT_FALSE(changing_.IsLoaded());
}

TEST_F(ChangeScreenTest, AnEmptyPathShowsNothingAndLeavesTheStoredLastFileAlone) {
  state_.sCurrentFile.clear();
  changing_.TriggerNextPic();
  EXPECT_EQ(Screen().labels.back(), FakeTruncate(""));
  fake_.views.FireTimers();
  EXPECT_TRUE(fake_.store.writes.empty());
  EXPECT_EQ(changing_.LastChange().outcome, ChangeOutcome::kNoPicture);
  EXPECT_FALSE(changing_.IsLoaded());
}

TEST_F(ChangeScreenTest, ALastFileTheStoreRefusesIsReportedAndTheScreenStillCloses) {
  fake_.store.refuses = true;
  changing_.TriggerNextPic();
  fake_.views.FireTimers();
  EXPECT_EQ(changing_.LastChange().outcome, ChangeOutcome::kApplied);
  EXPECT_TRUE(changing_.LastChange().last_file_not_stored);
  EXPECT_FALSE(changing_.IsLoaded());
}

TEST_F(ChangeScreenTest, TheTickHappensOncePerTrigger) {
  changing_.TriggerNextPic();
  changing_.OnTimer();
  changing_.OnTimer();
  EXPECT_EQ(fake_.pictures.calls.size(), 1u);
  EXPECT_EQ(fake_.store.writes.size(), 1u);

  // A new trigger loads a new window and changes again.
  state_.sCurrentFile = "C:\\Pictures\\next.gif";
  changing_.TriggerNextPic();
  EXPECT_EQ(fake_.views.screens.size(), 2u);
  fake_.views.FireTimers();
  EXPECT_EQ(fake_.store.values.at("sLastFile"), "C:\\Pictures\\next.gif");
}

// The fade's 256 steps are paced by the clock, a frame at a time: over half a second whatever
// the machine, each frame showing the step its time has reached, with the events run between.
TEST_F(ChangeScreenTest, TheFadeIsPacedOverHalfASecondAFrameAtATime) {
  state_.settings.bFadeOut = true;
  fake_.loop.clock_step = {};  // only the frames' waits move the clock
  changing_.TriggerNextPic();
  fake_.views.FireTimers();
  const std::vector<int>& alphas = Screen().alphas;
  ASSERT_EQ(alphas.size(), kFadeTime / kFrame + 1);
  for (size_t i = 0; i < alphas.size(); ++i)
    EXPECT_EQ(alphas[i], FadeAlpha(kFrame * i)) << "frame " << i;
  EXPECT_EQ(alphas.front(), 255);
  EXPECT_EQ(alphas.back(), 0);

  const auto& entries = fake_.journal.entries;
  const int first = fake_.journal.Find("screen.alpha 255");
  ASSERT_GE(first, 0);
  for (size_t i = 0; i + 1 < alphas.size(); ++i) EXPECT_EQ(entries[first + 2 * i + 1], "yield");
  EXPECT_EQ(entries[first + 2 * alphas.size() - 1], "screen.destroy");
  EXPECT_EQ(Screen().destroys, 1);
}

TEST_F(ChangeScreenTest, ACloseRequestedDuringTheFadeDoesNotFadeTwice) {
  state_.settings.bFadeOut = true;
  changing_.TriggerNextPic();
  fake_.loop.clock_step = {};
  fake_.loop.on_yield = [&](int number) {
    if (number == 5 || number == 20) changing_.Close();
  };
  fake_.views.FireTimers();
  EXPECT_EQ(Screen().alphas.size(), kFadeTime / kFrame + 1);
  EXPECT_EQ(Screen().destroys, 1);
  EXPECT_FALSE(changing_.IsLoaded());
}

TEST_F(ChangeScreenTest, ClosingAWindowThatIsNotLoadedDoesNothing) {
  state_.settings.bFadeOut = true;
  changing_.Close();
  EXPECT_TRUE(fake_.views.screens.empty());
  EXPECT_EQ(fake_.loop.yields, 0);

  changing_.TriggerNextPic();
  fake_.views.FireTimers();
  const int yields = fake_.loop.yields;
  changing_.Close();
  EXPECT_EQ(fake_.loop.yields, yields) << "already closed";
  EXPECT_EQ(Screen().destroys, 1);
}

TEST_F(ChangeScreenTest, EscapeEndsABackgroundRunAtOnce) {
  state_.bBackgroundRun = true;
  changing_.TriggerNextPic();
  EXPECT_THROW(changing_.OnKeyPress(kEscape), EndNowCalled);
  EXPECT_TRUE(fake_.pictures.calls.empty());
  EXPECT_TRUE(fake_.store.writes.empty());
}

TEST_F(ChangeScreenTest, EscapeDuringTheFadeEndsWithoutFinishingIt) {
  state_.bBackgroundRun = true;
  state_.settings.bFadeOut = true;
  changing_.TriggerNextPic();
  fake_.loop.on_yield = [&](int number) {
    if (number == 10) changing_.OnKeyPress(kEscape);
  };
  try {
    fake_.views.FireTimers();
    FAIL() << "the run went on";
  } catch (const EndNowCalled& end) {
    EXPECT_EQ(end.exit_code, 0) << "the wallpaper was changed";
  }
  EXPECT_EQ(fake_.store.values.at("sLastFile"), "C:\\Pictures\\beach.jpg") << "stored before";
  EXPECT_NE(Screen().alphas.back(), 0);
  EXPECT_EQ(Screen().destroys, 0);
}

TEST_F(ChangeScreenTest, EscapeOnceTheBitmapIsReplacedFinishesTheChangeThenEnds) {
  state_.bBackgroundRun = true;
  state_.settings.bFadeOut = true;
  changing_.TriggerNextPic();
  // The change's one yield comes between writing the bitmap and telling the desktop.
  fake_.loop.on_yield = [&](int number) {
    if (number == 1) changing_.OnKeyPress(kEscape);
  };
  EXPECT_THROW(fake_.views.FireTimers(), EndNowCalled);
  ASSERT_EQ(fake_.desktop.calls.size(), 1u);
  EXPECT_EQ(fake_.store.values.at("sLastFile"), "C:\\Pictures\\beach.jpg");
  EXPECT_TRUE(Screen().alphas.empty()) << "no fade";
  const auto& j = fake_.journal;
  EXPECT_LT(j.Find("write sLastFile=C:\\Pictures\\beach.jpg"), j.Find("end-now 0"));
}

TEST_F(ChangeScreenTest, OtherKeysAndInteractiveEscapeDoNothing) {
  changing_.TriggerNextPic();
  EXPECT_NO_THROW(changing_.OnKeyPress(kEscape));
  state_.bBackgroundRun = true;
  for (int key : {13, 32, int{'q'}, 0, 26, 28}) EXPECT_NO_THROW(changing_.OnKeyPress(key)) << key;
  EXPECT_TRUE(changing_.TimerArmed());
  EXPECT_TRUE(changing_.IsLoaded());
}

// A background run from start to end on the fakes.
class BackgroundRunTest : public ::testing::Test {
 protected:
  BackgroundRunTest() {
    fake_.files.AddFolder("C:\\WINDOWS");
    fake_.files.AddFolder("C:\\P");
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
      fake_.files.AddFile(std::string("C:\\P\\") + name);
    fake_.store.values = {
        {"sSourceFolder", "C:\\P"}, {"bRandom", "False"}, {"sLastFile", "C:\\P\\a.jpg"}};
  }

  FakeSystem fake_;
};

TEST_F(BackgroundRunTest, ChangesTheWallpaperOnceAndStoresTheLastFileAfterTheTick) {
  const ChangeResult result = RunBackground(fake_.platform);
  EXPECT_EQ(result.outcome, ChangeOutcome::kApplied);
  EXPECT_EQ(result.mode, "STRETCH");
  ASSERT_EQ(fake_.desktop.calls.size(), 1u);
  EXPECT_EQ(fake_.desktop.calls[0].bitmap, "C:\\Vellumo\\vellumo.bmp");
  EXPECT_EQ(fake_.desktop.calls[0].layout, Layout::kStretched);
  EXPECT_THAT(fake_.pictures.calls, ElementsAre(Pair("C:\\P\\b.jpg", "C:\\Vellumo\\vellumo.bmp")));
  EXPECT_THAT(
      fake_.store.writes,
      ElementsAre(Pair("bRepeats", "False"), Pair("bRandom", "False"), Pair("bFadeOut", "True"),
                  Pair("iSourceType", "1"), Pair("iDisplayType", "0"), Pair("iAutoSize", "300"),
                  Pair("iAutoRatio", "10"), Pair("sLastFile", "C:\\P\\b.jpg")));
  const auto& j = fake_.journal;
  EXPECT_LT(j.Find("write iAutoRatio=10"), j.Find("screen.tick"));
  EXPECT_LT(j.Find("desktop C:\\Vellumo\\vellumo.bmp stretched"),
            j.Find("write sLastFile=C:\\P\\b.jpg"));

  // The change screen came up for the listing, stayed for the change, and faded out.
  ASSERT_EQ(fake_.views.screens.size(), 1u);
  const ScreenRecord& screen = *fake_.views.screens[0];
  EXPECT_EQ(screen.shows, 1);
  EXPECT_EQ(screen.modal_shows, 0);
  EXPECT_EQ(screen.alphas.back(), 0) << "faded out";
  EXPECT_TRUE(screen.destroyed);
  EXPECT_EQ(fake_.loop.runs, 1);
}

TEST_F(BackgroundRunTest, TheDisplaySettingsReachTheDesktop) {
  fake_.store.values["iDisplayType"] = "3";
  RunBackground(fake_.platform);
  ASSERT_EQ(fake_.desktop.calls.size(), 1u);
  EXPECT_EQ(fake_.desktop.calls[0].layout, Layout::kTiled);
}

TEST_F(BackgroundRunTest, AnEmptyListChangesNothing) {
  fake_.store.values["iSourceType"] = "0";
  const ChangeResult result = RunBackground(fake_.platform);
  EXPECT_EQ(result.outcome, ChangeOutcome::kNoPicture);
  EXPECT_TRUE(fake_.desktop.calls.empty());
  EXPECT_TRUE(fake_.pictures.calls.empty());
  ASSERT_EQ(fake_.views.screens.size(), 1u);
  EXPECT_EQ(fake_.views.screens[0]->shows, 0) << "no picture: the screen stays hidden";
  EXPECT_TRUE(fake_.views.screens[0]->destroyed);
}

TEST_F(BackgroundRunTest, ASourceFolderNotYetMountedKeepsTheListOrderForWhenItIsBack) {
  fake_.store.values["sSourceFolder"] = "D:\\Share";
  fake_.store.values["sLastFile"] = "D:\\Share\\b.jpg";
  EXPECT_EQ(RunBackground(fake_.platform).outcome, ChangeOutcome::kNoPicture);
  EXPECT_EQ(fake_.store.values.at("sLastFile"), "D:\\Share\\b.jpg");

  fake_.files.AddFolder("D:\\Share");
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
    fake_.files.AddFile(std::string("D:\\Share\\") + name);
  EXPECT_EQ(RunBackground(fake_.platform).outcome, ChangeOutcome::kApplied);
  EXPECT_EQ(fake_.store.values.at("sLastFile"), "D:\\Share\\c.jpg");
}

TEST_F(BackgroundRunTest, AnUnusablePictureIsSkippedForTheNextInListOrder) {
  fake_.pictures.failing["C:\\P\\b.jpg"] = "not a picture";
  const ChangeResult result = RunBackground(fake_.platform);
  EXPECT_EQ(result.outcome, ChangeOutcome::kApplied);
  EXPECT_THAT(fake_.pictures.calls, ElementsAre(Pair("C:\\P\\b.jpg", _), Pair("C:\\P\\c.jpg", _)));
  EXPECT_EQ(fake_.store.values.at("sLastFile"), "C:\\P\\c.jpg") << "the picture applied";
  EXPECT_THAT(fake_.report.lines, ElementsAre("skipped C:\\P\\b.jpg: not a picture"));
  EXPECT_EQ(fake_.views.screens[0]->labels.back(), "short:C:\\P\\c.jpg");
  EXPECT_EQ(ExitCode(result), 0);
}

TEST_F(BackgroundRunTest, RandomOrderTriesThePictureShownBeforeOnlyLast) {
  fake_.store.values["bRandom"] = "True";
  fake_.pictures.failing = {{"C:\\P\\b.jpg", "Permission denied"}, {"C:\\P\\c.jpg", "cut short"}};
  EXPECT_EQ(RunBackground(fake_.platform).outcome, ChangeOutcome::kApplied);
  ASSERT_EQ(fake_.pictures.calls.size(), 3u);
  EXPECT_EQ(fake_.pictures.calls[2].first, "C:\\P\\a.jpg");
  EXPECT_EQ(fake_.store.values.at("sLastFile"), "C:\\P\\a.jpg");
}

TEST_F(BackgroundRunTest, WhenNoPictureCanBeUsedEachIsTriedOnceAndTheRunSaysWhy) {
  fake_.pictures.size.reset();
  const ChangeResult result = RunBackground(fake_.platform);
  EXPECT_EQ(result.outcome, ChangeOutcome::kPictureFailed);
  EXPECT_TRUE(fake_.desktop.calls.empty());
  EXPECT_THAT(fake_.pictures.calls, ElementsAre(Pair("C:\\P\\b.jpg", _), Pair("C:\\P\\c.jpg", _),
                                                Pair("C:\\P\\a.jpg", _)));
  EXPECT_THAT(
      fake_.report.lines,
      ElementsAre("skipped C:\\P\\b.jpg: not a picture", "skipped C:\\P\\c.jpg: not a picture",
                  "cannot use C:\\P\\a.jpg: not a picture; no other picture could be used"));
  EXPECT_EQ(fake_.store.values.at("sLastFile"), "C:\\P\\a.jpg") << "the last one tried";
  EXPECT_EQ(ExitCode(result), 1);
}

TEST_F(BackgroundRunTest, AFullDiskIsNotBlamedOnThePicture) {
  fake_.pictures.unwritable = {fake_.platform.bitmap_path, fake_.platform.bitmap_fallback_path};
  const ChangeResult result = RunBackground(fake_.platform);
  EXPECT_EQ(result.outcome, ChangeOutcome::kBitmapFailed);
  EXPECT_THAT(fake_.pictures.calls,
              ElementsAre(Pair("C:\\P\\b.jpg", fake_.platform.bitmap_path),
                          Pair("C:\\P\\b.jpg", fake_.platform.bitmap_fallback_path)));
  EXPECT_THAT(fake_.report.lines,
              ElementsAre("cannot write the wallpaper file " + fake_.platform.bitmap_fallback_path +
                          ": No space left on device"));
}

TEST_F(BackgroundRunTest, FileModeAppliesTheSourcePicture) {
  fake_.store.values["iSourceType"] = "0";
  fake_.store.values["sSourceFile"] = "C:\\P\\c.jpg";
  EXPECT_EQ(RunBackground(fake_.platform).outcome, ChangeOutcome::kApplied);
  EXPECT_THAT(fake_.pictures.calls, ElementsAre(Pair("C:\\P\\c.jpg", _)));
  EXPECT_EQ(fake_.views.screens[0]->shows, 1) << "the notice, as in the other modes";
}

TEST_F(BackgroundRunTest, AMissingSourceIsNamedInTheReason) {
  fake_.store.values["sSourceFolder"] = "D:\\Gone";
  RunBackground(fake_.platform);
  EXPECT_THAT(fake_.report.lines, ElementsAre("the source folder D:\\Gone no longer exists"));
}

TEST_F(BackgroundRunTest, EscapeBeforeTheTickChangesNothing) {
  fake_.store.values["bFadeOut"] = "False";
  // The first yield is the one after the picture was chosen.
  fake_.loop.on_yield = [&](int number) {
    if (number == 1) fake_.views.LastScreen()->events->OnKeyPress(kEscape);
  };
  try {
    RunBackground(fake_.platform);
    FAIL() << "the run went on";
  } catch (const EndNowCalled& end) {
    EXPECT_EQ(end.exit_code, 1) << "not changed";
  }
  EXPECT_THAT(fake_.report.lines, ElementsAre("cancelled"));
  EXPECT_TRUE(fake_.pictures.calls.empty());
  EXPECT_TRUE(fake_.desktop.calls.empty());
  EXPECT_EQ(fake_.store.values.at("sLastFile"), "C:\\P\\a.jpg");
}

}  // namespace
}  // namespace vellumo
