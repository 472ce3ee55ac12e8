#pragma once

#include <string>

#include "platform/platform.h"
#include "settings/settings.h"

namespace vellumo {

enum class ChangeOutcome {
  kNotRun,         // the change has not happened (yet)
  kApplied,        // the desktop took the new bitmap
  kNoPicture,      // the list was empty
  kPictureFailed,  // the picture could not be loaded or the bitmap not written
  kDesktopFailed,  // the bitmap is written but no desktop took it
};

struct ChangeResult {
  ChangeOutcome outcome = ChangeOutcome::kNotRun;
  std::string mode;    // "TILED", "STRETCH", "CENTER" or empty
  std::string detail;  // what went wrong, for the platform to report where it can
  // sLastFile could not be stored: the next run chooses as if this one had not happened.
  bool last_file_not_stored = false;
};

// Converts the picture to the wallpaper bitmap, decides the display mode and sets the
// wallpaper. Never throws: a failure leaves the wallpaper (and, before the bitmap is complete,
// the old bitmap) as it was, and the result says why.
ChangeResult Apply_Picture(const std::string& path, const Settings& settings, Platform& platform);

}  // namespace vellumo
