#pragma once

#include <chrono>
#include <string>
#include <utility>

#include "platform/desktop.h"

namespace vellumo {

// How one attempt to set the wallpaper ended.
struct BackendResult {
  enum class Outcome {
    kSet,
    // The desktop's service is not there (yet): at login it may still be starting, so the
    // attempt is worth repeating a little later.
    kServiceMissing,
    kFailed,
  };
  Outcome outcome = Outcome::kFailed;
  std::string failure;  // why, when not set

  static BackendResult Set() { return {Outcome::kSet, {}}; }
  static BackendResult Missing(std::string why) {
    return {Outcome::kServiceMissing, std::move(why)};
  }
  static BackendResult Failed(std::string why) { return {Outcome::kFailed, std::move(why)}; }
  bool ok() const { return outcome == Outcome::kSet; }
};

// The longest any one outside call (a command, a D-Bus call, the X work) may take.
inline constexpr std::chrono::milliseconds kStepTimeLimit{10'000};

// "tile", "center" or "stretch": the words pcmanfm, pcmanfm-qt and swaybg all take.
inline const char* LayoutWord(Layout layout) {
  switch (layout) {
    case Layout::kTiled:
      return "tile";
    case Layout::kCentered:
      return "center";
    case Layout::kStretched:
      break;
  }
  return "stretch";
}

// One desktop's way of setting its wallpaper.
class WallpaperBackend {
 public:
  virtual ~WallpaperBackend() = default;
  // Makes the picture at `absolute_path` the wallpaper, laid out as `layout`.
  virtual BackendResult Set(const std::string& absolute_path, Layout layout) = 0;
  // False when no picture at `absolute_path` can be handed to the desktop, whatever it holds:
  // the path cannot be put into the desktop's own syntax, or the desktop would not keep it for
  // the next login.
  virtual bool CanShow(const std::string& /*absolute_path*/) const { return true; }
};

}  // namespace vellumo
