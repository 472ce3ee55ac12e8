// The pure rules of the Linux desktop back-ends: which desktop is which, how paths are quoted
// for the desktops and which paths they cannot keep, what their listings hold, file URIs and their
// alternate spelling, GVariant text, the placement of a picture on the root window and the packing
// of pixels.
#include <gtest/gtest.h>

#include <algorithm>

#include "deepin_wallpaper.h"
#include "desktop_chooser.h"
#include "file_uri.h"
#include "gsettings_wallpaper.h"
#include "hyprland_wallpaper.h"
#include "kde_wallpaper.h"
#include "linux_desktop.h"
#include "pcmanfm_wallpaper.h"
#include "pixel_packer.h"
#include "root_raster.h"
#include "sway_wallpaper.h"
#include "xfce_wallpaper.h"
#include "xrandr_monitors.h"

namespace vellumo {
namespace {

// XDG_CURRENT_DESKTOP, DESKTOP_SESSION, SWAYSOCK, HYPRLAND_INSTANCE_SIGNATURE, WAYLAND_DISPLAY
// and DISPLAY.
DesktopEnvironment Env(std::string xdg_current_desktop, std::string desktop_session = "",
                       std::string swaysock = "", std::string hyprland = "",
                       std::string wayland_display = "", std::string display = "") {
  return {xdg_current_desktop, desktop_session, swaysock, hyprland, wayland_display, display};
}

struct ChoiceCase {
  DesktopEnvironment environment;
  DesktopKind kind;
  std::string reason;
};

// Names the case in test lists: "KDE Plasma: DESKTOP_SESSION=plasma".
void PrintTo(const ChoiceCase& choice, std::ostream* out) {
  std::string reason = choice.reason;
  std::erase(reason, '"');
  *out << DesktopName(choice.kind) << ": " << reason;
}

class ChooseDesktopTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ChooseDesktopTest, PicksTheBackEndAndSaysWhy) {
  const DesktopChoice choice = ChooseDesktop(GetParam().environment);
  EXPECT_EQ(DesktopName(choice.kind), std::string(DesktopName(GetParam().kind)));
  EXPECT_EQ(choice.reason, GetParam().reason);
}

INSTANTIATE_TEST_SUITE_P(
    Environments, ChooseDesktopTest,
    ::testing::Values(
        ChoiceCase{Env("ubuntu:GNOME"), DesktopKind::kGnome, "XDG_CURRENT_DESKTOP=ubuntu:GNOME"},
        ChoiceCase{Env("Budgie:GNOME"), DesktopKind::kGnome, "XDG_CURRENT_DESKTOP=Budgie:GNOME"},
        ChoiceCase{Env("Pantheon"), DesktopKind::kGnome, "XDG_CURRENT_DESKTOP=Pantheon"},
        ChoiceCase{Env("X-Cinnamon"), DesktopKind::kCinnamon, "XDG_CURRENT_DESKTOP=X-Cinnamon"},
        ChoiceCase{Env("mate"), DesktopKind::kMate, "XDG_CURRENT_DESKTOP=mate"},
        ChoiceCase{Env("KDE"), DesktopKind::kKde, "XDG_CURRENT_DESKTOP=KDE"},
        ChoiceCase{Env("XFCE"), DesktopKind::kXfce, "XDG_CURRENT_DESKTOP=XFCE"},
        ChoiceCase{Env("LXQt"), DesktopKind::kLxqt, "XDG_CURRENT_DESKTOP=LXQt"},
        ChoiceCase{Env("LXDE"), DesktopKind::kLxde, "XDG_CURRENT_DESKTOP=LXDE"},
        ChoiceCase{Env("sway:wlroots"), DesktopKind::kSway, "XDG_CURRENT_DESKTOP=sway:wlroots"},
        ChoiceCase{Env("Hyprland"), DesktopKind::kHyprland, "XDG_CURRENT_DESKTOP=Hyprland"},
        ChoiceCase{Env("Deepin"), DesktopKind::kDeepin, "XDG_CURRENT_DESKTOP=Deepin"},
        ChoiceCase{Env("DDE"), DesktopKind::kDeepin, "XDG_CURRENT_DESKTOP=DDE"},
        // The first name we know wins; unknown ones and empty parts are passed over.
        ChoiceCase{Env("Unknown::KDE:GNOME"), DesktopKind::kKde,
                   "XDG_CURRENT_DESKTOP=Unknown::KDE:GNOME"},
        ChoiceCase{Env("GNOMEish", "", "", "", "", ":0"), DesktopKind::kXRoot, "DISPLAY=:0"},
        // XDG_CURRENT_DESKTOP before DESKTOP_SESSION before the sockets.
        ChoiceCase{Env("xfce", "plasma", "/run/sway.sock"), DesktopKind::kXfce,
                   "XDG_CURRENT_DESKTOP=xfce"},
        ChoiceCase{Env("", "/usr/share/xsessions/plasma", "/run/sway.sock"), DesktopKind::kKde,
                   "DESKTOP_SESSION=/usr/share/xsessions/plasma"},
        ChoiceCase{Env("", "Lubuntu"), DesktopKind::kLxde, "DESKTOP_SESSION=Lubuntu"},
        ChoiceCase{Env("", "", "/run/sway.sock", "abc", "wayland-1"), DesktopKind::kSway,
                   "SWAYSOCK=/run/sway.sock"},
        ChoiceCase{Env("", "", "", "abc", "wayland-1", ":0"), DesktopKind::kHyprland,
                   "HYPRLAND_INSTANCE_SIGNATURE=abc"},
        // Under Wayland the root window belongs to Xwayland and never shows.
        ChoiceCase{Env("river", "", "", "", "wayland-1", ":0"), DesktopKind::kNone,
                   "XDG_CURRENT_DESKTOP \"river\" is not a desktop we know and in a Wayland "
                   "session the X root window does not show"},
        ChoiceCase{Env("", "", "", "", "", ":1"), DesktopKind::kXRoot, "DISPLAY=:1"},
        ChoiceCase{Env(""), DesktopKind::kNone,
                   "XDG_CURRENT_DESKTOP is not set and DISPLAY is not set"}));

TEST(ScriptQuotingTest, PlasmaScriptStringsStandForTheExactText) {
  EXPECT_EQ(QuoteJavaScriptString("/a/b.png"), "'/a/b.png'");
  EXPECT_EQ(QuoteJavaScriptString("it's \\ \"x\""), "'it\\'s \\\\ \"x\"'");
  EXPECT_EQ(QuoteJavaScriptString("a\nb\r\t\x01"), "'a\\u000Ab\\u000D\\u0009\\u0001'");
  // Outside ASCII: UTF-16 escapes, a pair of them beyond the first plane; a stray byte that
  // is not UTF-8 becomes U+FFFD rather than ending the string.
  EXPECT_EQ(QuoteJavaScriptString("été 壁 😀"), "'\\u00E9t\\u00E9 \\u58C1 \\uD83D\\uDE00'");
  EXPECT_EQ(QuoteJavaScriptString("a\xFF'"), "'a\\uFFFD\\''");
  // U+2028 ends a line in older JavaScript engines.
  EXPECT_EQ(QuoteJavaScriptString("\u2028"), "'\\u2028'");

  const std::string script =
      PlasmaWallpaperScript("/home/ann/it's \\ new\nline/été #1.png", Layout::kCentered);
  EXPECT_NE(script.find("var image = 'file:///home/ann/it%27s%20%5C%20new%0Aline/"
                        "%C3%A9t%C3%A9%20%231.png';\n"),
            std::string::npos)
      << script;
  EXPECT_NE(script.find("d.writeConfig('FillMode', 6);"), std::string::npos);
  EXPECT_NE(PlasmaWallpaperScript("/a.png", Layout::kTiled).find("'FillMode', 3)"),
            std::string::npos);
  EXPECT_NE(PlasmaWallpaperScript("/a.png", Layout::kStretched).find("'FillMode', 0)"),
            std::string::npos);
}

// Each case is a fault sway 1.7 showed: a word it split, a variable it replaced, a quote or
// backslash left in the path, two blanks made one, a glob or '~' expanded.
TEST(SwayQuotingTest, PathSurvivesSwaysSplittingAndExpansion) {
  EXPECT_EQ(SwayPathArgument("/a b/x.png"), "/a\\ b/x.png");
  EXPECT_EQ(SwayPathArgument("/it's \"q\"/x"), "/it\"'\"s\\ '\"'q'\"'/x");
  EXPECT_EQ(SwayPathArgument("/\\$mod/a\\"), "/\"\\\\\"\\$mod/a\"\\\\\"");
  EXPECT_EQ(SwayPathArgument("/a  b;c,d/*~[x]/été"), "/a\\ \\ b';'c','d/'*''~''['x']'/été");
  EXPECT_EQ(SwayPathArgument("/new\nline"), std::nullopt);
}

// A desktop that cannot be given a path, or keeps it broken for the next login, is not given it:
// the wallpaper file is written elsewhere.
TEST(CanShowTest, PathsADesktopCannotKeepAreRefused) {
  const std::string odd = "/it's \"odd\" \\ été $mod, #1/vellumo.png";
  const std::string line_break = "/new\nline/vellumo.png";
  const std::string tab = "/a\tb/vellumo.png";
  const std::string latin1 = "/\xE9t\xE9/vellumo.png";
  EXPECT_TRUE(SwayWallpaper("").CanShow(odd));
  EXPECT_FALSE(SwayWallpaper("").CanShow(line_break));
  EXPECT_TRUE(XfceWallpaper().CanShow(odd));
  EXPECT_FALSE(XfceWallpaper().CanShow(line_break));
  EXPECT_FALSE(XfceWallpaper().CanShow(tab));
  EXPECT_FALSE(PcmanfmWallpaper("pcmanfm").CanShow(line_break));
  EXPECT_TRUE(PcmanfmWallpaper("pcmanfm").CanShow(tab));
  EXPECT_TRUE(PcmanfmWallpaper("pcmanfm-qt").CanShow(line_break));
  EXPECT_TRUE(PcmanfmWallpaper("pcmanfm").CanShow(latin1));
  // Desktops that take the path as text.
  EXPECT_FALSE(PcmanfmWallpaper("pcmanfm-qt").CanShow(latin1));
  EXPECT_FALSE(XfceWallpaper().CanShow(latin1));
  EXPECT_FALSE(GsettingsWallpaper(DesktopFamily::kMate).CanShow(latin1));
  EXPECT_TRUE(GsettingsWallpaper(DesktopFamily::kGnome).CanShow(latin1));
  EXPECT_FALSE(KdeWallpaper().CanShow(latin1));
  EXPECT_TRUE(KdeWallpaper().CanShow(odd));
  EXPECT_FALSE(DeepinWallpaper().CanShow(latin1));
  EXPECT_TRUE(SwayWallpaper("").CanShow(latin1));
  // hyprpaper reading its commands as configuration lines: a comment, a variable.
  EXPECT_FALSE(HyprlandWallpaper().CanShow("/#1/vellumo.png"));
  EXPECT_FALSE(HyprlandWallpaper().CanShow("/$mod/vellumo.png"));
  EXPECT_TRUE(HyprlandWallpaper().CanShow("/it's \"odd\" \\ été, 1/vellumo.png"));
  // The desktop running decides.
  EXPECT_FALSE(LinuxDesktop(Env("XFCE")).CanShow(tab));
  EXPECT_TRUE(LinuxDesktop(Env("LXDE")).CanShow(tab));
  EXPECT_TRUE(LinuxDesktop(Env("GNOME")).CanShow(line_break));
}

TEST(ListingTest, ReadsTheMonitorsAndPropertiesTheDesktopsList) {
  EXPECT_EQ(XfcePictureProperties("/backdrop/screen0/monitorHDMI-1/workspace0/last-image\n"
                                  "/backdrop/screen0/monitorHDMI-1/workspace0/image-style\n"
                                  "/backdrop/screen0/monitor0/workspace12/last-image\n"
                                  "/backdrop/single-workspace-mode\n"
                                  "/backdrop/screen0/monitorHDMI-1/last-image\n"),
            (std::vector<std::string>{"/backdrop/screen0/monitorHDMI-1/workspace0/last-image",
                                      "/backdrop/screen0/monitor0/workspace12/last-image"}));
  EXPECT_EQ(MonitorNamesFromXrandr("Monitors: 2\n"
                                   " 0: +*HDMI-1 1920/530x1080/300+0+0  HDMI-1\n"
                                   " 1: +eDP-1 1366/310x768/170+1920+0  eDP-1\n"),
            (std::vector<std::string>{"HDMI-1", "eDP-1"}));
  EXPECT_TRUE(MonitorNamesFromXrandr("").empty());
  EXPECT_EQ(HyprlandMonitors("Monitor DP-1 (ID 0):\n\t1920x1080@60 at 0x0\n\n"
                             "Monitor HDMI-A-1 (ID 1):\n\tdescription: Monitor 2\n"),
            (std::vector<std::string>{"DP-1", "HDMI-A-1"}));
}

TEST(FileUriTest, EncodesEverythingOutsideTheUnreservedSetAndSlash) {
  EXPECT_EQ(FileUri("/home/ann/vellumo.bmp"), "file:///home/ann/vellumo.bmp");
  EXPECT_EQ(FileUri("/a b/#1/100%/x+y=z?&;'\"$`\\"),
            "file:///a%20b/%231/100%25/x%2By%3Dz%3F%26%3B%27%22%24%60%5C");
  EXPECT_EQ(FileUri("/été/壁紙.bmp"), "file:///%C3%A9t%C3%A9/%E5%A3%81%E7%B4%99.bmp");
  EXPECT_EQ(FileUri("/a-b_c.d~e/F0"), "file:///a-b_c.d~e/F0");
}

TEST(FileUriTest, AlternateSpellingDiffersButNamesTheSameFile) {
  EXPECT_EQ(AlternateFileUri("/x/vellumo.bmp"), "file:///x/%76ellumo.bmp");
  // A first byte that is escaped anyway changes the letter case of its digits.
  EXPECT_EQ(AlternateFileUri("/x/été.bmp"), "file:///x/%c3%A9t%C3%A9.bmp");
  // '#' escapes to "%23" in either case: the next byte is respelled instead.
  EXPECT_EQ(AlternateFileUri("/x/#a"), "file:///x/%23%61");
  EXPECT_EQ(AlternateFileUri("/x/#%"), "file:///x/./%23%25");
  EXPECT_EQ(AlternatePath("/x/vellumo.bmp"), "/x/./vellumo.bmp");
}

TEST(GVariantTextTest, QuotesAndReadsBack) {
  EXPECT_EQ(QuoteGVariantString("stretched"), "'stretched'");
  EXPECT_EQ(QuoteGVariantString("it's a\\b\n"), "'it\\'s a\\\\b\\n'");
  for (std::string text : {"", "file:///x/%76ellumo.bmp", "/it's \"$HOME\"\\/壁紙\t"}) {
    EXPECT_EQ(ParseGVariantString(QuoteGVariantString(text) + "\n"), text);
  }
  // gsettings prints a string holding a single quote between double quotes.
  EXPECT_EQ(ParseGVariantString("\"it's\"\n"), "it's");
  EXPECT_EQ(ParseGVariantString("'caf\\u00e9 \\U0001F600'"), "café \xF0\x9F\x98\x80");
  EXPECT_EQ(ParseGVariantString("''"), "");
  EXPECT_FALSE(ParseGVariantString(""));
  EXPECT_FALSE(ParseGVariantString("@as []"));
  EXPECT_FALSE(ParseGVariantString("'a'b'"));
  EXPECT_FALSE(ParseGVariantString("'\\u12'"));
}

// Every pixmap row is covered exactly once, in order, whatever the scale.
TEST(RootRasterTest, StretchCoversEveryRowOnce) {
  for (PixelSize picture : {PixelSize{2, 2}, PixelSize{400, 300}, PixelSize{6000, 4000},
                            PixelSize{1, 7}, PixelSize{320, 240}}) {
    RootRaster raster(picture, {320, 240}, Layout::kStretched);
    EXPECT_EQ(raster.pixmap_size().width, 320);
    EXPECT_EQ(raster.pixmap_size().height, 240);
    EXPECT_FALSE(raster.needs_fill());
    int next = 0;
    for (int y = 0; y < picture.height; ++y) {
      RootRaster::Rows rows = raster.TargetRows(y);
      if (rows.count == 0) continue;
      EXPECT_EQ(rows.first, next) << picture.width << "x" << picture.height << " row " << y;
      next = rows.first + rows.count;
    }
    EXPECT_EQ(next, 240);
    ASSERT_EQ(raster.source_columns().size(), 320u);
    EXPECT_GE(raster.source_columns().front(), 0);
    EXPECT_LT(raster.source_columns().back(), picture.width);
    EXPECT_TRUE(std::is_sorted(raster.source_columns().begin(), raster.source_columns().end()));
  }
  RootRaster doubled({2, 2}, {4, 4}, Layout::kStretched);
  EXPECT_EQ(doubled.TargetRows(1).first, 2);
  EXPECT_EQ(doubled.TargetRows(1).count, 2);
  EXPECT_EQ(doubled.source_columns(), (std::vector<int>{0, 0, 1, 1}));
}

TEST(RootRasterTest, CentreBordersASmallPictureAndCropsALargeOne) {
  RootRaster small({40, 30}, {320, 240}, Layout::kCentered);
  EXPECT_TRUE(small.needs_fill());
  EXPECT_EQ(small.TargetRows(0).first, 105);
  EXPECT_EQ(small.TargetRows(29).first, 134);
  EXPECT_EQ(small.first_column(), 140);
  EXPECT_EQ(small.source_columns().size(), 40u);
  EXPECT_EQ(small.source_columns().front(), 0);

  RootRaster large({400, 300}, {320, 240}, Layout::kCentered);
  EXPECT_FALSE(large.needs_fill());
  EXPECT_EQ(large.TargetRows(29).count, 0);
  EXPECT_EQ(large.TargetRows(30).first, 0);
  EXPECT_EQ(large.TargetRows(269).first, 239);
  EXPECT_EQ(large.TargetRows(270).count, 0);
  EXPECT_EQ(large.first_column(), 0);
  ASSERT_EQ(large.source_columns().size(), 320u);
  EXPECT_EQ(large.source_columns().front(), 40);

  // Wider than the screen but shorter: cropped sideways, bordered above and below.
  RootRaster wide({400, 100}, {320, 240}, Layout::kCentered);
  EXPECT_TRUE(wide.needs_fill());
  EXPECT_EQ(wide.TargetRows(0).first, 70);
}

TEST(RootRasterTest, TileKeepsThePictureAsItIs) {
  RootRaster tile({3, 2}, {320, 240}, Layout::kTiled);
  EXPECT_EQ(tile.pixmap_size().width, 3);
  EXPECT_EQ(tile.pixmap_size().height, 2);
  EXPECT_FALSE(tile.needs_fill());
  EXPECT_EQ(tile.TargetRows(1).first, 1);
  EXPECT_EQ(tile.TargetRows(2).count, 0);
  EXPECT_EQ(tile.source_columns(), (std::vector<int>{0, 1, 2}));

  // Only the first tile shows where the picture is larger than the screen: the pixmap is cut
  // to the screen in that direction and kept whole in the other.
  RootRaster wide({400, 100}, {320, 240}, Layout::kTiled);
  EXPECT_EQ(wide.pixmap_size().width, 320);
  EXPECT_EQ(wide.pixmap_size().height, 100);
  EXPECT_EQ(wide.source_columns().size(), 320u);
  EXPECT_EQ(wide.TargetRows(99).first, 99);

  RootRaster huge({100000, 50000}, {320, 240}, Layout::kTiled);
  EXPECT_TRUE(huge.fits()) << "larger than any pixmap, but only a screen of it is kept";
  EXPECT_EQ(huge.source_columns().size(), 320u);
  EXPECT_EQ(huge.TargetRows(239).count, 1);
  EXPECT_EQ(huge.TargetRows(240).count, 0);

  RootRaster empty({0, 5}, {320, 240}, Layout::kTiled);
  EXPECT_FALSE(empty.fits());
  EXPECT_TRUE(empty.source_columns().empty());
}

TEST(PixelPackerTest, FollowsTheChannelMasks) {
  PixelPacker rgb(0xFF0000, 0xFF00, 0xFF);
  EXPECT_EQ(rgb.Pack(0x12, 0x34, 0x56), 0x123456u);
  PixelPacker bgr(0xFF, 0xFF00, 0xFF0000);
  EXPECT_EQ(bgr.Pack(0x12, 0x34, 0x56), 0x563412u);
  PixelPacker rgb565(0xF800, 0x07E0, 0x001F);
  EXPECT_EQ(rgb565.Pack(255, 0, 0), 0xF800u);
  EXPECT_EQ(rgb565.Pack(0, 255, 0), 0x07E0u);
  EXPECT_EQ(rgb565.Pack(0, 0, 255), 0x001Fu);
  EXPECT_EQ(rgb565.Pack(255, 255, 255), 0xFFFFu);
  EXPECT_EQ(rgb565.Pack(0, 0, 0), 0u);
  PixelPacker deep(0x3FF00000, 0xFFC00, 0x3FF);
  EXPECT_EQ(deep.Pack(255, 0, 255), 0x3FF003FFu);
  EXPECT_EQ(deep.Pack(0, 128, 0), 514u << 10);
}

}  // namespace
}  // namespace vellumo
