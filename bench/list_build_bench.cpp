// Builds the image list of a folder tree the way a background run does (folder-tree mode, with
// its progress texts) and prints the number of pictures found. Timed against GNU find by
// folder-search-vs-find.sh.
#include <cstdio>
#include <string>

#include "change/change_screen.h"
#include "file_system_linux.h"
#include "headless_views.h"
#include "images/image_list.h"
#include "platform/platform.h"

namespace {

class NoPictures : public vellumo::PictureConverter {
 public:
  std::optional<vellumo::WrittenBitmap> ConvertToBitmap(const std::string&, const std::string&,
                                                        vellumo::ConversionFailure&) override {
    return std::nullopt;
  }
};

class NoDesktop : public vellumo::Desktop {
 public:
  bool SetWallpaper(const std::string&, vellumo::Layout, std::string*) override { return false; }
};

class NoStore : public vellumo::SettingsStore {
 public:
  std::optional<std::string> Read(const std::string&) override { return std::nullopt; }
  bool Write(const std::string&, const std::string&) override { return true; }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  using namespace vellumo;
  NoStore store;
  LinuxFileSystem files;
  NoPictures pictures;
  NoDesktop desktop;
  HeadlessLoop loop;
  NoRunAtLogon startup;
  NoScheduledChange schedule;
  vellumo::NoRunReport report;
  Platform platform{store,   files,    pictures, desktop, loop,        loop,
                    startup, schedule, report,   "/",     "/dev/null", ""};

  State state;
  state.bBackgroundRun = true;
  state.settings.iSourceType = 2;
  state.settings.sSourceFolder = argv[1];
  ChangingForm changing(state, platform);
  MainEvents no_events;
  auto main_view = loop.CreateMain(no_events);
  ImageList list(state, platform, changing, *main_view);
  list.Build_List();
  std::printf("%zu\n", state.sImagePaths.size());
  return 0;
}
