#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "wallpaper_backend.h"

namespace vellumo {

// XFCE: xfdesktop keeps one picture per screen, monitor and workspace in the xfconf channel
// xfce4-desktop. Every such picture is set, with its image-style; on a fresh install, where no
// picture has been chosen yet, the keys of the connected monitors are created.
class XfceWallpaper : public WallpaperBackend {
 public:
  explicit XfceWallpaper(std::chrono::milliseconds time_limit = kStepTimeLimit)
      : time_limit_(time_limit) {}

  BackendResult Set(const std::string& absolute_path, Layout layout) override;
  // Not a path in another encoding than UTF-8 (xfconf-query refuses it), nor one with a line
  // break, carriage return or tab: xfconfd keeps the channel as XML, whose reader makes those
  // blanks, so the picture would show and be gone at the next login.
  bool CanShow(const std::string& absolute_path) const override;

 private:
  std::chrono::milliseconds time_limit_;
};

// The .../last-image properties among the lines `xfconf-query -l` prints.
std::vector<std::string> XfcePictureProperties(std::string_view listing);

}  // namespace vellumo
