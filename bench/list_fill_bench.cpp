// Opening the settings window on a folder tree: builds the image list in folder-tree mode with
// nothing shown (the list building alone), then again as the window's load does (progress
// texts on the change screen, a yield per folder), then fills the window's list box with the
// names, and prints the three times in milliseconds. Run under Wine by list-fill-vs-build.sh.
#include <objbase.h>
#include "win.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "change/change_screen.h"
#include "event_loop.h"
#include "images/image_list.h"
#include "main_window.h"
#include "platform/platform.h"
#include "utf.h"
#include "win_file_system.h"
#include "win_views.h"

namespace {

using namespace vellumo;

class NoPictures : public PictureConverter {
 public:
  std::optional<WrittenBitmap> ConvertToBitmap(const std::string&, const std::string&,
                                               ConversionFailure&) override {
    return std::nullopt;
  }
};

class NoDesktop : public Desktop {
 public:
  bool SetWallpaper(const std::string&, Layout, std::string*) override { return false; }
};

class NoStore : public SettingsStore {
 public:
  std::optional<std::string> Read(const std::string&) override { return std::nullopt; }
  bool Write(const std::string&, const std::string&) override { return true; }
};

// A settings window whose list box is left empty: the list building alone.
class ListlessView : public MainView {
 public:
  explicit ListlessView(WinMainView& window) : window_(window) {}
  void SetEnabled(bool enabled) override { window_.SetEnabled(enabled); }
  std::string TruncatePath(const std::string& path, int width) override {
    return window_.TruncatePath(path, width);
  }

 private:
  WinMainView& window_;
};

// The change screen of a run that shows nothing.
class UnseenScreen : public ChangeScreenView {
 public:
  void Show() override {}
  void ShowModal() override {}
  void SetFileName(const std::string&) override {}
  std::string TruncatePath(const std::string& path, int) override { return path; }
  void StartTimer(int) override {}
  void StopTimer() override {}
  int SetTranslucency(int) override { return 0; }
  void Destroy() override {}
};

class UnseenViews : public Views {
 public:
  std::unique_ptr<ChangeScreenView> CreateChangeScreen(ChangeScreenEvents&) override {
    return std::make_unique<UnseenScreen>();
  }
  std::unique_ptr<MainView> CreateMain(MainEvents&) override { return nullptr; }
};

// A settings window that is never shown.
class NoWindow : public MainView {
 public:
  void SetEnabled(bool) override {}
  std::string TruncatePath(const std::string& path, int) override { return path; }
};

double Milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// The list of the tree built with nothing drawn: what building it costs by itself.
double BuildAlone(Platform& platform, const std::string& folder) {
  State state;
  state.bBackgroundRun = true;  // no settings window to show the names in
  state.settings.iSourceType = 2;
  state.settings.sSourceFolder = folder;
  NoWindow window;
  ChangingForm changing(state, platform);
  ImageList list(state, platform, changing, window);
  const auto start = std::chrono::steady_clock::now();
  list.Build_List();
  return Milliseconds(std::chrono::steady_clock::now() - start);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: list_fill_bench FOLDER\n");
    return 2;
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  NoStore store;
  WinFileSystem files;
  NoPictures pictures;
  NoDesktop desktop;
  WinEventLoop loop;
  WinViews views(loop);
  NoRunAtLogon startup;
  NoScheduledChange schedule;
  NoRunReport report;
  Platform platform{store,   files,    pictures, desktop, loop, views,
                    startup, schedule, report,   "C:\\",  "",   ""};
  UnseenViews unseen;
  Platform quiet{store,   files,    pictures, desktop, loop, unseen,
                 startup, schedule, report,   "C:\\",  "",   ""};
  const double alone = BuildAlone(quiet, Narrow(argv[1]));

  State state;
  state.settings.iSourceType = 2;
  state.settings.sSourceFolder = Narrow(argv[1]);
  state.settings.bFadeOut = false;  // the progress window closes at once
  MainEvents no_events;
  WinMainView window(no_events, loop);
  window.Show();
  ListlessView listless(window);
  ChangingForm changing(state, platform);
  ImageList list(state, platform, changing, listless);

  const auto start = std::chrono::steady_clock::now();
  list.Build_List();
  const auto built = std::chrono::steady_clock::now();
  window.SetImages(list.Names());
  loop.Yield();  // the list box's repaint
  const auto filled = std::chrono::steady_clock::now();

  std::printf("%zu pictures, alone %.1f ms, build %.1f ms, fill %.1f ms\n",
              state.sImagePaths.size(), alone, Milliseconds(built - start),
              Milliseconds(filled - built));
  CoUninitialize();
  return 0;
}
