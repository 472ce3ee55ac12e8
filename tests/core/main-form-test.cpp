#include "ui/main_form.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes.h"
#include "startup/main.h"
#include "ui/main_layout.h"
#include "ui/toolbar.h"

namespace vellumo {
namespace {

using ::testing::ElementsAre;
using testing::FakeSystem;
using ::testing::IsEmpty;
using testing::MainRecord;
using ::testing::Pair;

// The settings window's logic over a folder C:\P holding a.jpg, b.jpg and c.gif.
class MainFormTest : public ::testing::Test {
 protected:
  MainFormTest() {
    fake_.files.AddFolder("C:\\P");
    for (const char* name : {"a.jpg", "b.jpg", "c.gif"})
      fake_.files.AddFile(std::string("C:\\P\\") + name);
    fake_.store.values["sSourceFolder"] = "C:\\P";
  }

  MainForm& Open() {
    changing_ = std::make_unique<ChangingForm>(state_, fake_.platform);
    main_ = std::make_unique<MainForm>(state_, fake_.platform, *changing_);
    main_->Loading();
    return *main_;
  }
  MainRecord& View() { return *fake_.views.mains.back(); }

  FakeSystem fake_;
  State state_;
  std::unique_ptr<ChangingForm> changing_;
  std::unique_ptr<MainForm> main_;
};

TEST_F(MainFormTest, OpensWithTheStoredSettingsInItsControls) {
  fake_.store.values["bRepeats"] = "True";
  fake_.store.values["bFadeOut"] = "False";
  fake_.store.values["iSourceType"] = "0";
  fake_.store.values["iDisplayType"] = "2";
  fake_.startup.set = true;
  Open();
  EXPECT_THAT(View().pressed,
              ElementsAre(Pair(toolbar::kRandom, true), Pair(toolbar::kRepeats, true),
                          Pair(toolbar::kStartup, true)));
  EXPECT_EQ(View().source_image, 1);
  EXPECT_EQ(View().display_row, 2);
  EXPECT_EQ(View().source_text, "") << "file mode, no picture chosen";
  EXPECT_EQ(View().images_caption, "Images (0)");
  EXPECT_FALSE(View().next_enabled);
}

TEST_F(MainFormTest, FreshSettingsListTheFolderAndPressRandomAndFadeOut) {
  Open();
  EXPECT_THAT(View().pressed,
              ElementsAre(Pair(toolbar::kRandom, true), Pair(toolbar::kFadeOut, true)));
  EXPECT_EQ(View().source_image, 2);
  EXPECT_EQ(View().display_row, 0);
  EXPECT_THAT(View().images, ElementsAre("a", "b", "c"));
  EXPECT_EQ(View().images_caption, "Images (3)");
  EXPECT_TRUE(View().next_enabled);
}

TEST_F(MainFormTest, SourceButtonCyclesFolderTypesAndTheMenuReachesFile) {
  fake_.store.values["iSourceType"] = "0";
  MainForm& main = Open();
  std::vector<int> types, images;
  for (int click = 0; click < 3; ++click) {
    main.OnToolbarClick(toolbar::kSource, false);
    types.push_back(state_.settings.iSourceType);
    images.push_back(View().source_image);
  }
  EXPECT_THAT(types, ElementsAre(1, 2, 1));
  EXPECT_THAT(images, ElementsAre(2, 3, 2));
  EXPECT_THAT(View().images, ElementsAre("a", "b", "c"));

  main.OnSourceMenu(1);
  EXPECT_EQ(state_.settings.iSourceType, 0);
  EXPECT_EQ(View().source_image, 1);
  EXPECT_THAT(View().images, IsEmpty());
  EXPECT_THAT(state_.sImagePaths, IsEmpty());
  EXPECT_EQ(View().images_caption, "Images (0)");
  EXPECT_TRUE(View().next_enabled) << "an empty list leaves the button as it was";
}

TEST_F(MainFormTest, ToolbarCommands) {
  MainForm& main = Open();
  main.OnToolbarClick(toolbar::kRandom, false);
  main.OnToolbarClick(toolbar::kRandom, true);
  EXPECT_TRUE(state_.settings.bRandom);
  main.OnToolbarClick(toolbar::kFadeOut, false);
  EXPECT_FALSE(state_.settings.bFadeOut);
  // The state the button reports, not a toggle: a press the view reports twice (a screen
  // reader's action and the click it causes) cannot leave the two apart.
  main.OnToolbarClick(toolbar::kRepeats, true);
  main.OnToolbarClick(toolbar::kRepeats, true);
  EXPECT_TRUE(state_.settings.bRepeats);

  main.OnToolbarClick(toolbar::kMakeFile, false);
  EXPECT_THAT(View().messages, ElementsAre(Pair("Make File", "Vellumo")));
  main.OnToolbarClick(toolbar::kAbout, false);
  EXPECT_EQ(View().abouts, 1);

  main.OnToolbarClick(toolbar::kStartup, true);
  main.OnToolbarClick(toolbar::kStartup, false);
  EXPECT_THAT(fake_.startup.calls, ElementsAre(true, false));
  EXPECT_THAT(fake_.store.writes, IsEmpty()) << "nothing is stored before the window closes";
}

// The "Startup" menu checks the stored interval; a value it does not offer checks nothing,
// and where the system cannot schedule, the intervals are off, say why, and logon only holds.
TEST_F(MainFormTest, StartupMenuShowsTheStoredChoiceAndWhatTheSystemAllows) {
  fake_.store.values["iInterval"] = "60";
  Open();
  ASSERT_TRUE(View().startup_menu);
  EXPECT_EQ(View().startup_menu->checked, 3);
  EXPECT_TRUE(View().startup_menu->intervals_enabled);

  fake_.store.values["iInterval"] = "30";
  Open();
  EXPECT_EQ(View().startup_menu->checked, 0);

  fake_.store.values["iInterval"] = "60";
  fake_.schedule.unavailable = "No user manager.";
  Open();
  EXPECT_EQ(View().startup_menu->checked, 1);
  EXPECT_FALSE(View().startup_menu->intervals_enabled);
  EXPECT_EQ(View().startup_menu->reason, "No user manager.");
  EXPECT_EQ(fake_.journal.Count("schedule 60"), 0) << "loading never touches the schedule";
}

TEST_F(MainFormTest, AnIntervalChosenWithStartupReleasedPressesItSchedulesAndStoresAtOnce) {
  MainForm& main = Open();
  main.OnStartupMenu(2);
  EXPECT_TRUE(View().pressed[toolbar::kStartup]);
  EXPECT_THAT(fake_.startup.calls, ElementsAre(true));
  EXPECT_EQ(fake_.schedule.minutes, 15);
  EXPECT_THAT(fake_.store.writes, ElementsAre(Pair("iInterval", "15")));
  EXPECT_EQ(View().startup_menu->checked, 2);

  main.OnStartupMenu(5);
  EXPECT_EQ(fake_.schedule.minutes, 1440);
  EXPECT_EQ(fake_.store.values.at("iInterval"), "1440");
  EXPECT_THAT(fake_.startup.calls, ElementsAre(true)) << "already pressed";

  main.OnStartupMenu(1);
  EXPECT_EQ(fake_.schedule.minutes, 0);
  EXPECT_EQ(fake_.store.values.at("iInterval"), "0");
  EXPECT_EQ(View().startup_menu->checked, 1);
  EXPECT_TRUE(View().pressed[toolbar::kStartup]) << "still a change at each logon";
}

TEST_F(MainFormTest, ReleasingStartupRemovesTheScheduleAndPressingItAgainRestoresTheChoice) {
  fake_.store.values["iInterval"] = "60";
  fake_.startup.set = true;
  MainForm& main = Open();
  main.OnToolbarClick(toolbar::kStartup, false);
  EXPECT_EQ(fake_.journal.Count("unschedule"), 1);
  EXPECT_FALSE(fake_.startup.set);
  EXPECT_EQ(View().startup_menu->checked, 3) << "the choice stays for the next press";

  main.OnToolbarClick(toolbar::kStartup, true);
  EXPECT_TRUE(fake_.startup.set);
  EXPECT_EQ(fake_.schedule.minutes, 60);
  EXPECT_THAT(fake_.store.writes, IsEmpty()) << "the choice did not change";
}

TEST_F(MainFormTest, AScheduleTheSystemRefusesFallsBackToLogonOnlyAndSaysWhy) {
  fake_.store.values["iInterval"] = "60";
  fake_.schedule.failure = "Access is denied.";
  MainForm& main = Open();
  main.OnStartupMenu(2);
  EXPECT_TRUE(fake_.startup.set) << "the change at logon still stands";
  EXPECT_GT(fake_.journal.Find("unschedule"), fake_.journal.Find("schedule 15"))
      << "what was half set is removed";
  EXPECT_EQ(fake_.store.values.at("iInterval"), "0");
  EXPECT_EQ(View().startup_menu->checked, 1);
  EXPECT_THAT(View().messages,
              ElementsAre(Pair("The wallpaper cannot be changed every so often: Access is denied.",
                               "Vellumo")));
}

TEST_F(MainFormTest, WithoutASchedulerOnlyAtLogonOnlyCanBeChosen) {
  fake_.schedule.unavailable = "No user manager.";
  MainForm& main = Open();
  main.OnStartupMenu(3);
  EXPECT_FALSE(fake_.startup.set);
  EXPECT_EQ(fake_.journal.Count("schedule 60"), 0);
  EXPECT_THAT(fake_.store.writes, IsEmpty());

  main.OnStartupMenu(1);
  EXPECT_TRUE(fake_.startup.set);
  EXPECT_EQ(View().startup_menu->checked, 1);
}

// The login's run lets the schedule catch up with the session; without an interval nothing is
// asked of the scheduler, and a background run never asks whether there is one.
TEST_F(MainFormTest, ABackgroundRunRefreshesTheScheduleOnlyWhileAnIntervalIsChosen) {
  RunBackground(fake_.platform);
  EXPECT_EQ(fake_.journal.Count("refresh schedule"), 0);
  fake_.store.values["iInterval"] = "15";
  fake_.schedule.unavailable = "asked";
  RunBackground(fake_.platform);
  EXPECT_EQ(fake_.journal.Count("refresh schedule"), 1);
  EXPECT_FALSE(fake_.views.mains.back()->startup_menu);
}

TEST_F(MainFormTest, EscStoresTheSevenKeysOnceAndClosesTheWindow) {
  fake_.loop.on_run = [&] {
    MainEvents& window = *fake_.views.mains.back()->events;
    window.OnToolbarClick(toolbar::kRepeats, true);
    window.OnCancel();
    window.OnCancel();
  };
  RunInteractive(fake_.platform);
  EXPECT_TRUE(View().shown);
  EXPECT_TRUE(View().destroyed);
  EXPECT_EQ(fake_.store.writes.size(), 7u);
  EXPECT_EQ(fake_.store.values.at("bRepeats"), "True");
}

TEST_F(MainFormTest, SessionEndStoresTheSevenKeysAndLeavesTheWindowToTheSystem) {
  MainForm& main = Open();
  main.OnToolbarClick(toolbar::kRepeats, true);
  main.OnEndSession();
  EXPECT_EQ(fake_.store.writes.size(), 7u);
  EXPECT_EQ(fake_.store.values.at("bRepeats"), "True");
  EXPECT_FALSE(View().destroyed);

  main.OnCancel();
  main.OnEndSession();
  EXPECT_EQ(fake_.store.writes.size(), 14u) << "nothing more once the window has closed";
}

TEST_F(MainFormTest, SaveClosesTheChangeScreenFirst) {
  MainForm& main = Open();
  changing_->Show();
  main.OnSave();
  EXPECT_FALSE(changing_->IsLoaded());
  EXPECT_TRUE(main.IsUnloaded());
  EXPECT_LT(fake_.journal.Find("screen.destroy"), fake_.journal.Find("main.destroy"));
}

TEST_F(MainFormTest, ListClickPreviewsOncePerNewPath) {
  MainForm& main = Open();
  View().loadable["C:\\P\\b.jpg"] = PixelSize{768, 1024};
  fake_.loop.on_yield = [&](int) {
    EXPECT_TRUE(View().loading_visible);
    EXPECT_EQ(View().loading_text, "\r\n\r\n\r\nLoading...");
  };
  main.OnImageSelected(1);
  main.OnImageSelected(1);
  EXPECT_THAT(View().loads, ElementsAre("C:\\P\\b.jpg"));
  EXPECT_EQ(main.PreviewPath(), "C:\\P\\b.jpg");
  EXPECT_FALSE(View().loading_visible);
  EXPECT_TRUE(View().picture_visible);
  EXPECT_EQ(View().preview_caption, "       Preview - 768 x 1024");
  EXPECT_EQ(View().placed.left, 180 + 12 + 35);
  EXPECT_EQ(View().placed.top, 111 + 25);
  EXPECT_FLOAT_EQ(View().placed.width, 95.25f);
  EXPECT_FLOAT_EQ(View().placed.height, 127.0f);
}

TEST_F(MainFormTest, APictureThatFailsShowsInvalidFileAndKeepsTheCaption) {
  MainForm& main = Open();
  View().loadable["C:\\P\\a.jpg"] = PixelSize{640, 480};
  main.OnImageSelected(0);
  main.OnImageSelected(2);  // c.gif cannot be loaded
  EXPECT_EQ(View().loading_text, "\r\n\r\n\r\nInvalid File");
  EXPECT_TRUE(View().loading_visible);
  EXPECT_FALSE(View().picture_visible);
  EXPECT_EQ(View().preview_caption, "       Preview - 640 x 480");

  main.OnPreviewToggled(false);
  EXPECT_EQ(View().preview_caption, "       Preview");
  EXPECT_FALSE(View().picture.has_value());
  EXPECT_TRUE(View().loading_visible) << "the notice stays until the next preview";
  main.OnImageSelected(0);
  EXPECT_THAT(View().loads, ElementsAre("C:\\P\\a.jpg", "C:\\P\\c.gif")) << "preview off";

  main.OnPreviewToggled(true);
  EXPECT_THAT(View().loads, ElementsAre("C:\\P\\a.jpg", "C:\\P\\c.gif", "C:\\P\\a.jpg"));
  EXPECT_EQ(main.PreviewPath(), "C:\\P\\c.gif") << "only a list click sets it";
}

TEST_F(MainFormTest, PreviewOnWithoutASelectionOnlyResetsTheCaption) {
  MainForm& main = Open();
  main.OnPreviewToggled(false);
  main.OnPreviewToggled(true);
  EXPECT_THAT(View().loads, IsEmpty());
  EXPECT_EQ(View().preview_caption, "       Preview");
}

TEST_F(MainFormTest, ARebuildClearsThePreviewButKeepsThePathLastPreviewed) {
  MainForm& main = Open();
  View().loadable["C:\\P\\a.jpg"] = PixelSize{640, 480};
  main.OnImageSelected(0);
  main.OnSourceMenu(2);
  EXPECT_FALSE(View().picture.has_value());
  EXPECT_EQ(View().preview_caption, "       Preview");
  main.OnImageSelected(0);
  EXPECT_EQ(View().loads.size(), 1u);
}

TEST_F(MainFormTest, DoubleClickAppliesThatPictureModallyThenYields) {
  fake_.store.values["bFadeOut"] = "False";
  MainForm& main = Open();
  main.OnImageDoubleClicked(2);
  EXPECT_EQ(state_.sCurrentFile, "C:\\P\\c.gif");
  EXPECT_EQ(state_.settings.sLastFile, "C:\\P\\c.gif");
  EXPECT_EQ(fake_.views.LastScreen()->modal_shows, 1);
  EXPECT_EQ(fake_.journal.entries.back(), "yield");
  main.OnImageDoubleClicked(-1);
  EXPECT_EQ(fake_.views.LastScreen()->modal_shows, 1);
}

TEST_F(MainFormTest, DisplayModeListAndItsDialog) {
  fake_.store.values["iDisplayType"] = "7";
  fake_.store.values["iAutoSize"] = "1000";
  MainForm& main = Open();
  EXPECT_EQ(View().display_row, 3) << "the nearest row";
  EXPECT_EQ(state_.settings.iDisplayType, 7) << "kept until the user picks a row";

  main.OnDisplaySettings();  // cancelled
  EXPECT_THAT(View().thresholds_shown, ElementsAre(Pair(1000, 10)));
  EXPECT_EQ(state_.settings.iAutoSize, 1000);
  View().thresholds_answer = AutoThresholds{0, 0};
  main.OnDisplaySettings();
  EXPECT_EQ(state_.settings.iAutoSize, 0);
  EXPECT_EQ(state_.settings.iAutoRatio, 0);

  main.OnDisplayModeChosen(1);
  EXPECT_EQ(state_.settings.iDisplayType, 1);
}

TEST_F(MainFormTest, AChosenFolderIsStoredAtOnceAndListed) {
  fake_.files.AddFolder("D:\\New");
  fake_.files.AddFile("D:\\New\\x.bmp");
  MainForm& main = Open();
  main.OnBrowse();  // cancelled
  EXPECT_THAT(fake_.store.writes, IsEmpty());
  View().folder_answer = "D:\\New";
  main.OnBrowse();
  EXPECT_THAT(View().prompts, ElementsAre("Select Folder...", "Select Folder..."));
  EXPECT_THAT(fake_.store.writes, ElementsAre(Pair("sSourceFolder", "D:\\New")));
  EXPECT_EQ(View().source_text, "D:\\New");
  EXPECT_THAT(View().images, ElementsAre("x"));
}

TEST_F(MainFormTest, TheFolderDialogOpensAtTheSourceFolder) {
  MainForm& main = Open();
  main.OnBrowse();
  EXPECT_THAT(View().starts, ElementsAre("C:\\P"));
}

TEST_F(MainFormTest, AStoredFolderThatIsGoneIsNamedAsMissing) {
  fake_.store.values["sSourceFolder"] = "D:\\Gone";
  MainForm& main = Open();
  EXPECT_EQ(View().source_text, "Missing: D:\\Gone");
  main.OnBrowse();
  EXPECT_THAT(View().starts, ElementsAre("D:\\Gone")) << "the dialog offers it where it can";
}

TEST_F(MainFormTest, FileModeBrowsesForOnePictureStoresItAndListsIt) {
  fake_.store.values["iSourceType"] = "0";
  fake_.store.values["sSourceFile"] = "C:\\P\\a.jpg";
  MainForm& main = Open();
  EXPECT_THAT(View().images, ElementsAre("a"));
  EXPECT_EQ(View().source_text, "C:\\P\\a.jpg");
  EXPECT_TRUE(View().next_enabled);

  View().picture_answer = "C:\\P\\c.gif";
  main.OnBrowse();
  EXPECT_THAT(View().prompts, ElementsAre("Select Picture..."));
  EXPECT_THAT(View().starts, ElementsAre("C:\\P\\a.jpg"));
  EXPECT_THAT(fake_.store.writes, ElementsAre(Pair("sSourceFile", "C:\\P\\c.gif")));
  EXPECT_THAT(View().images, ElementsAre("c"));
  EXPECT_EQ(View().images_caption, "Images (1)");
  main.OnNext();
  EXPECT_EQ(fake_.store.values.at("sLastFile"), "C:\\P\\c.gif");
  EXPECT_EQ(fake_.desktop.calls.size(), 1u);
}

TEST_F(MainFormTest, AChangeThatFailsSaysSoInThePreviewNotice) {
  fake_.store.values["bFadeOut"] = "False";
  MainForm& main = Open();
  View().loadable["C:\\P\\b.jpg"] = {800, 600};
  main.OnImageSelected(1);
  fake_.pictures.failing["C:\\P\\c.gif"] = "cut short";
  main.OnImageDoubleClicked(2);
  EXPECT_EQ(View().loading_text, "\r\n\r\nNot changed:\r\ncut short");
  EXPECT_TRUE(View().loading_visible);
  EXPECT_FALSE(View().picture_visible);
  main.OnImageDoubleClicked(0);
  EXPECT_FALSE(View().loading_visible) << "a change that worked takes the notice away";
  main.OnImageSelected(1);
  EXPECT_EQ(View().loads.size(), 2u) << "the picture the notice covered can be previewed again";
}

TEST_F(MainFormTest, RowsAndThePreviewTellTheFullPath) {
  MainForm& main = Open();
  EXPECT_EQ(main.OnImageTip(1), "C:\\P\\b.jpg");
  EXPECT_EQ(main.OnImageTip(3), "");
  EXPECT_EQ(main.OnPreviewTip(), "") << "nothing previewed";
  main.OnImageSelected(2);
  EXPECT_EQ(main.OnPreviewTip(), "C:\\P\\c.gif");
}

TEST(PreviewFitTest, WideAndSquarePicturesFillTheWidthAndCentreDown) {
  const PreviewArea area{12, 25, 166, 127};
  const PreviewRect square = FitPreview({500, 500}, area);
  EXPECT_FLOAT_EQ(square.width, 166.0f);
  EXPECT_FLOAT_EQ(square.height, 166.0f);
  EXPECT_EQ(square.left, 12);
  EXPECT_EQ(square.top, 25 + (-39 / 2));
  const PreviewRect wide = FitPreview({1024, 768}, area);
  EXPECT_FLOAT_EQ(wide.height, 124.5f);
  EXPECT_EQ(wide.top, 26) << "2.5 rounds to 2 before halving";
  EXPECT_EQ(FitPreview({0, 10}, area).width, 0.0f);
}

// The size decoded covers the rectangle shown, at 96 and 144 dpi, within a pixel: nothing is
// scaled up (blurred), nothing decoded needlessly large. A square or 5:4 picture is shown wider
// than the area is high, so fitting it inside the area would decode it too small.
TEST(PreviewFitTest, TheSizeDecodedIsTheRectangleShown) {
  for (const PixelSize picture : {PixelSize{768, 1024}, PixelSize{3000, 3000},
                                  PixelSize{1280, 1024}, PixelSize{1920, 1080}}) {
    for (const double scale : {1.0, 1.5}) {
      const PreviewRect shown = FitPreview(picture, main_layout::kPreviewArea);
      const PixelSize decoded = PreviewDecodeSize(picture, scale);
      SCOPED_TRACE(::testing::Message()
                   << picture.width << " x " << picture.height << " at " << scale);
      EXPECT_GE(decoded.width, shown.width * scale - 0.01);
      EXPECT_LT(decoded.width, shown.width * scale + 1);
      EXPECT_GE(decoded.height, shown.height * scale - 0.01);
      EXPECT_LT(decoded.height, shown.height * scale + 1);
    }
  }
  EXPECT_EQ(PreviewDecodeSize({3000, 3000}, 1.0).height, 166) << "as wide as the area";
  EXPECT_EQ(PreviewDecodeSize({40, 30}, 1.5).width, 40) << "never larger than the picture";
}

TEST(RatioSliderTest, LabelsAndStartValues) {
  EXPECT_EQ(SliderLabel(kSizeSlider, 300), "300 pixels");
  EXPECT_EQ(SliderLabel(kRatioSlider, 10), "10% margin");
  EXPECT_EQ(SliderStart(kSizeSlider, 1000), 800);
  EXPECT_EQ(SliderStart(kRatioSlider, -4), 0);
  EXPECT_EQ(SliderStart(kRatioSlider, 50), 50);
}

TEST(SourceTypeTest, ImageFollowsTheTypeWithinTheThreePictures) {
  EXPECT_EQ(Next_Source_Type(0), 1);
  EXPECT_EQ(Next_Source_Type(2), 1);
  EXPECT_EQ(Next_Source_Type(-5), -4);
  EXPECT_EQ(SourceImage(1), 2);
  EXPECT_EQ(SourceImage(9), 3);
  EXPECT_EQ(SourceImage(-1), 1);
}

}  // namespace
}  // namespace vellumo
