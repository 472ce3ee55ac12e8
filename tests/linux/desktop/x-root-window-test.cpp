// The X root window back-end under a real Xvfb: the pixmap it leaves on the root window, the
// properties naming it, and what the screen shows for each layout.
// GoogleTest before Xlib, whose macros (None, Bool, Status) would clash with its names.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <bit>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "bitmap24.h"
#include "linux_desktop.h"
#include "temp_folder.h"
#include "x_error_trap.h"
#include "x_root_wallpaper.h"
#include "x_root_window.h"
#include "xvfb_server.h"

namespace vellumo {
namespace {

using namespace test;

struct DisplayCloser {
  void operator()(Display* display) const { XCloseDisplay(display); }
};

class XRootWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = new XvfbServer("320x240x24"); }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }

  void SetUp() override {
    if (server_->display().empty()) GTEST_SKIP() << "Xvfb is not installed or would not start";
    display_.reset(XOpenDisplay(server_->display().c_str()));
    ASSERT_TRUE(display_);
  }

  std::string Picture(const std::string& name, int width, int height, const PixelAt& colour) {
    const std::string path = folder_ / name;
    WriteFile(path, Bmp24(width, height, colour));
    return path;
  }

  bool SetRoot(const std::string& path, Layout layout) {
    failure_.clear();
    return SetRootWindowPicture(server_->display(), path, layout, failure_);
  }

  Window root() const { return DefaultRootWindow(display_.get()); }

  std::optional<Pixmap> Property(const char* name) {
    Atom atom = XInternAtom(display_.get(), name, False);
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display_.get(), root(), atom, 0, 1, False, AnyPropertyType, &type, &format,
                       &items, &remaining, &data);
    std::optional<Pixmap> pixmap;
    if (type == XA_PIXMAP && format == 32 && items == 1) {
      pixmap = *reinterpret_cast<unsigned long*>(data);
    }
    if (data) XFree(data);
    return pixmap;
  }

  // The published pixmap, checked to be named by both properties.
  Pixmap RootPixmap() {
    std::optional<Pixmap> root_pixmap = Property("_XROOTPMAP_ID");
    std::optional<Pixmap> esetroot = Property("ESETROOT_PMAP_ID");
    EXPECT_TRUE(root_pixmap);
    EXPECT_EQ(root_pixmap, esetroot);
    return root_pixmap.value_or(None);
  }

  // Width and height of a pixmap; nothing when it does not exist (any more).
  std::optional<std::pair<int, int>> PixmapSize(Pixmap pixmap) {
    XErrorTrap trap(display_.get());
    Window ignored_root;
    int x = 0, y = 0;
    unsigned width = 0, height = 0, border = 0, depth = 0;
    Status ok = XGetGeometry(display_.get(), pixmap, &ignored_root, &x, &y, &width, &height,
                             &border, &depth);
    if (trap.Sync() != Success || !ok) return std::nullopt;
    return std::pair<int, int>(static_cast<int>(width), static_cast<int>(height));
  }

  // The pixels of a drawable, row by row.
  std::vector<std::vector<Rgb>> Capture(Drawable drawable, int width, int height) {
    std::vector<std::vector<Rgb>> rows(height, std::vector<Rgb>(width));
    // Images of pixmaps carry no channel masks: the screen's visual has them.
    Visual* visual = DefaultVisual(display_.get(), DefaultScreen(display_.get()));
    XImage* image = XGetImage(display_.get(), drawable, 0, 0, width, height, AllPlanes, ZPixmap);
    if (!image) {
      ADD_FAILURE() << "XGetImage failed";
      return rows;
    }
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        unsigned long pixel = XGetPixel(image, x, y);
        rows[y][x] = {Channel(pixel, visual->red_mask), Channel(pixel, visual->green_mask),
                      Channel(pixel, visual->blue_mask)};
      }
    }
    XDestroyImage(image);
    return rows;
  }

  static uint8_t Channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    unsigned long top = mask >> std::countr_zero(mask);
    return static_cast<uint8_t>(((pixel & mask) >> std::countr_zero(mask)) * 255 / top);
  }

  static XvfbServer* server_;
  std::unique_ptr<Display, DisplayCloser> display_;
  TempFolder folder_;
  std::string failure_;
};

XvfbServer* XRootWindowTest::server_ = nullptr;

TEST_F(XRootWindowTest, TileRepeatsThePicture) {
  auto colour = [](int x, int y) { return Quadrants(x, y, 2, 2); };
  ASSERT_TRUE(SetRoot(Picture("tile.bmp", 2, 2, colour), Layout::kTiled)) << failure_;
  Pixmap pixmap = RootPixmap();
  EXPECT_EQ(PixmapSize(pixmap), (std::pair<int, int>(2, 2)));
  auto picture = Capture(pixmap, 2, 2);
  auto screen = Capture(root(), 320, 240);
  for (int y = 0; y < 240; ++y) {
    for (int x = 0; x < 320; ++x) {
      ASSERT_EQ(screen[y][x], colour(x % 2, y % 2)) << x << "," << y;
    }
  }
  EXPECT_EQ(picture[1][0], kBlue);
}

// A tile larger than the screen shows only its first part; the server keeps no more than that.
TEST_F(XRootWindowTest, LargeTileIsCutToTheScreen) {
  auto colour = [](int x, int y) {
    return Rgb{static_cast<uint8_t>(x), static_cast<uint8_t>(y), static_cast<uint8_t>(x >> 8)};
  };
  ASSERT_TRUE(SetRoot(Picture("wide.bmp", 400, 100, colour), Layout::kTiled)) << failure_;
  EXPECT_EQ(PixmapSize(RootPixmap()), (std::pair<int, int>(320, 100)));
  auto screen = Capture(root(), 320, 240);
  for (int y = 0; y < 240; ++y) {
    for (int x = 0; x < 320; ++x) ASSERT_EQ(screen[y][x], colour(x, y % 100)) << x << "," << y;
  }

  ASSERT_TRUE(SetRoot(Picture("large.bmp", 500, 400, colour), Layout::kTiled)) << failure_;
  EXPECT_EQ(PixmapSize(RootPixmap()), (std::pair<int, int>(320, 240)));
  screen = Capture(root(), 320, 240);
  for (int y = 0; y < 240; ++y) {
    for (int x = 0; x < 320; ++x) ASSERT_EQ(screen[y][x], colour(x, y)) << x << "," << y;
  }
}

TEST_F(XRootWindowTest, CentreBordersASmallPictureAndCropsALargeOne) {
  auto small = [](int x, int y) { return Quadrants(x, y, 40, 30); };
  ASSERT_TRUE(SetRoot(Picture("small.bmp", 40, 30, small), Layout::kCentered)) << failure_;
  Pixmap pixmap = RootPixmap();
  ASSERT_EQ(PixmapSize(pixmap), (std::pair<int, int>(320, 240)));
  auto screen = Capture(pixmap, 320, 240);
  for (int y = 0; y < 240; ++y) {
    for (int x = 0; x < 320; ++x) {
      bool inside = x >= 140 && x < 180 && y >= 105 && y < 135;
      ASSERT_EQ(screen[y][x], inside ? small(x - 140, y - 105) : kBlack) << x << "," << y;
    }
  }

  auto large = [](int x, int y) {
    return Rgb{static_cast<uint8_t>(x), static_cast<uint8_t>(y), static_cast<uint8_t>(x >> 8)};
  };
  ASSERT_TRUE(SetRoot(Picture("large.bmp", 400, 300, large), Layout::kCentered)) << failure_;
  screen = Capture(RootPixmap(), 320, 240);
  for (int y = 0; y < 240; ++y) {
    for (int x = 0; x < 320; ++x) ASSERT_EQ(screen[y][x], large(x + 40, y + 30)) << x << "," << y;
  }
}

TEST_F(XRootWindowTest, StretchFillsTheScreen) {
  for (const auto& size : {std::pair{2, 2}, std::pair{400, 300}, std::pair{1000, 50}}) {
    const int width = size.first, height = size.second;
    auto colour = [&](int x, int y) { return Quadrants(x, y, width, height); };
    ASSERT_TRUE(SetRoot(Picture("stretch.bmp", width, height, colour), Layout::kStretched))
        << failure_;
    ASSERT_EQ(PixmapSize(RootPixmap()), (std::pair<int, int>(320, 240)));
    auto screen = Capture(root(), 320, 240);
    for (int y = 0; y < 240; ++y) {
      for (int x = 0; x < 320; ++x) {
        ASSERT_EQ(screen[y][x], Quadrants(x, y, 320, 240))
            << width << "x" << height << " at " << x << "," << y;
      }
    }
  }
}

TEST_F(XRootWindowTest, EachChangeShowsAndFreesThePreviousPixmap) {
  std::string path = Picture("vellumo.bmp", 4, 4, Solid(kRed));
  ASSERT_TRUE(SetRoot(path, Layout::kStretched)) << failure_;
  Pixmap first = RootPixmap();
  // Same name, new contents, as when the program renames a new bitmap over the old one.
  Picture("vellumo.bmp", 4, 4, Solid(kBlue));
  ASSERT_TRUE(SetRoot(path, Layout::kStretched)) << failure_;
  Pixmap second = RootPixmap();
  EXPECT_NE(first, second);
  EXPECT_FALSE(PixmapSize(first)) << "the first pixmap is still held by the server";
  EXPECT_TRUE(PixmapSize(second));
  EXPECT_EQ(Capture(root(), 320, 240)[120][160], kBlue);

  ASSERT_TRUE(SetRoot(path, Layout::kTiled)) << failure_;
  EXPECT_FALSE(PixmapSize(second));
  EXPECT_EQ(PixmapSize(RootPixmap()), (std::pair<int, int>(4, 4)));
}

TEST_F(XRootWindowTest, ABadPictureLeavesTheBackgroundAlone) {
  ASSERT_TRUE(SetRoot(Picture("good.bmp", 2, 2, Solid(kGreen)), Layout::kStretched)) << failure_;
  Pixmap before = RootPixmap();
  std::string bad = folder_ / "bad.bmp";
  WriteFile(bad, "BM this is not a bitmap");
  EXPECT_FALSE(SetRoot(bad, Layout::kStretched));
  EXPECT_EQ(failure_, "X root window on " + server_->display() + ": cannot read " + bad);
  EXPECT_EQ(RootPixmap(), before);
  EXPECT_TRUE(PixmapSize(before));
  EXPECT_EQ(Capture(root(), 320, 240)[10][10], kGreen);
}

TEST_F(XRootWindowTest, AnX11SessionWithoutAKnownDesktopUsesTheRootWindow) {
  std::string path = Picture("vellumo.bmp", 2, 2, Solid(kWhite));
  DesktopEnvironment environment;
  environment.xdg_current_desktop = "i3";
  environment.display = server_->display();
  std::vector<std::string> reports;
  LinuxDesktopOptions options;
  options.report = [&](const std::string& line) { reports.push_back(line); };
  LinuxDesktop unknown(environment, options);
  std::string failure;
  ASSERT_TRUE(unknown.SetWallpaper(path, Layout::kStretched, &failure)) << failure;
  EXPECT_EQ(Capture(root(), 320, 240)[0][0], kWhite);
  EXPECT_EQ(reports, std::vector<std::string>{
                         "desktop: the X root window (DISPLAY=" + server_->display() + ")"});
}

// A server that accepts connections but never answers must not hold the run: the X work is
// ended at its time limit.
TEST_F(XRootWindowTest, AServerThatStoppedAnsweringDoesNotHang) {
  XvfbServer server("64x48x24");
  ASSERT_FALSE(server.display().empty());
  std::string path = Picture("vellumo.bmp", 2, 2, Solid(kWhite));
  server.Pause();
  const auto start = std::chrono::steady_clock::now();
  XRootWallpaper stopped(server.display(), std::chrono::milliseconds(700));
  const BackendResult result = stopped.Set(path, Layout::kStretched);
  const auto took = std::chrono::steady_clock::now() - start;
  server.Resume();
  EXPECT_EQ(result.outcome, BackendResult::Outcome::kFailed);
  EXPECT_EQ(result.failure,
            "X root window on " + server.display() + ": the X server did not answer within 0.7 s");
  EXPECT_LT(took, std::chrono::seconds(3));

  // Answering again, it takes the picture.
  EXPECT_TRUE(stopped.Set(path, Layout::kStretched).ok());
}

// A 16-bit screen packs its pixels 5-6-5: the colours must still come out right.
TEST_F(XRootWindowTest, SixteenBitScreen) {
  XvfbServer server("64x48x16");
  ASSERT_FALSE(server.display().empty());
  // Our connection to it must close before the server stops.
  struct CloseFirst {
    std::unique_ptr<Display, DisplayCloser>& display;
    ~CloseFirst() { display.reset(); }
  } close_first{display_};
  std::string path = Picture("deep.bmp", 2, 2, [](int x, int y) { return Quadrants(x, y, 2, 2); });
  ASSERT_TRUE(SetRootWindowPicture(server.display(), path, Layout::kStretched, failure_))
      << failure_;
  display_.reset(XOpenDisplay(server.display().c_str()));
  ASSERT_TRUE(display_);
  ASSERT_EQ(DefaultDepth(display_.get(), 0), 16);
  auto screen = Capture(root(), 64, 48);
  EXPECT_EQ(screen[0][0], kRed);
  EXPECT_EQ(screen[0][63], kGreen);
  EXPECT_EQ(screen[47][0], kBlue);
  EXPECT_EQ(screen[47][63], kWhite);
}

}  // namespace
}  // namespace vellumo
