#pragma once

#include <string>

#include "platform/platform.h"
#include "settings/settings.h"

namespace vellumo {

enum class ChangeOutcome {
  kNotRun,         // the change has not happened (yet)
  kApplied,        // the desktop took the new bitmap
  kNoPicture,      // the list was empty
  kPictureFailed,  // the picture could not be read or decoded: another one may do
  kBitmapFailed,   // the bitmap could not be written (a full disk): no picture will do
  kDesktopFailed,  // the bitmap is written but no desktop took it
  kCancelled,      // Esc ended the run before the change
};

struct ChangeResult {
  ChangeOutcome outcome = ChangeOutcome::kNotRun;
  std::string mode;    // "TILED", "STRETCH", "CENTER" or empty
  std::string detail;  // what went wrong, whole, for the platform to report where it can
  std::string reason;  // the same in a few words, for the settings window's notice
  // sLastFile could not be stored: the next run chooses as if this one had not happened.
  bool last_file_not_stored = false;
};

// The exit code of a background run that ended so: 0 for a change applied and remembered,
// else 1.
int ExitCode(const ChangeResult& result);

// Converts the picture to the wallpaper bitmap, decides the display mode and sets the
// wallpaper. Never throws: a failure leaves the wallpaper (and, before the bitmap is complete,
// the old bitmap) as it was, and the result says why.
ChangeResult Apply_Picture(const std::string& path, const Settings& settings, Platform& platform);

}  // namespace vellumo
