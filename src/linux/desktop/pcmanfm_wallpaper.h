#pragma once

#include <chrono>
#include <string>

#include "wallpaper_backend.h"

namespace vellumo {

// LXQt (pcmanfm-qt) and LXDE (pcmanfm): the file manager that draws their desktop takes the
// wallpaper and its mode on its command line and hands them to its running instance.
class PcmanfmWallpaper : public WallpaperBackend {
 public:
  // `program` is "pcmanfm-qt" or "pcmanfm".
  explicit PcmanfmWallpaper(std::string program,
                            std::chrono::milliseconds time_limit = kStepTimeLimit)
      : program_(std::move(program)), time_limit_(time_limit) {}

  BackendResult Set(const std::string& absolute_path, Layout layout) override;
  // pcmanfm writes the path into its desktop's settings file as it is, so a line break in it
  // shows now and breaks that file's line for the next login (pcmanfm-qt escapes it).
  // pcmanfm-qt reads the path as UTF-8 text, so a name in another encoding does not show.
  bool CanShow(const std::string& absolute_path) const override;

 private:
  std::string program_;
  std::chrono::milliseconds time_limit_;
};

}  // namespace vellumo
