#include "change/apply_picture.h"

#include <exception>
#include <optional>

#include "change/display_mode.h"
#include "change/wallpaper.h"

namespace vellumo {
namespace {

ChangeResult Failed(ChangeOutcome outcome, std::string detail, std::string reason,
                    std::string mode = {}) {
  return {outcome, std::move(mode), std::move(detail), std::move(reason)};
}

// Beside the program when that folder takes the file, else in the fallback folder; a picture
// at fault is not tried again there. The old bitmap stays in both places.
std::optional<WrittenBitmap> WriteBitmap(const std::string& picture, Platform& platform,
                                         ConversionFailure& failure, std::string& place) {
  failure = {false, "no folder to write the wallpaper file in"};
  for (const std::string* bitmap : {&platform.bitmap_path, &platform.bitmap_fallback_path}) {
    if (bitmap->empty() || *bitmap == place) continue;
    place = *bitmap;
    if (auto written = platform.pictures.ConvertToBitmap(picture, *bitmap, failure)) return written;
    if (failure.picture_at_fault) return std::nullopt;
  }
  return std::nullopt;
}

// Tidies up after the desktop was asked to show the new bitmap, however that ended (an
// exception included): when it took it, what earlier changes wrote goes, in both places, since
// the last change may have used the other one; otherwise the new file goes.
class Handover {
 public:
  Handover(Platform& platform, std::string written)
      : platform_(platform), written_(std::move(written)) {}
  Handover(const Handover&) = delete;
  Handover& operator=(const Handover&) = delete;
  ~Handover() {
    try {
      Finish();
    } catch (...) {
      // Tidying is best effort: a file left over goes with the next change.
    }
  }

  void Shown() { shown_ = true; }

 private:
  void Finish() {
    if (!shown_) {
      platform_.pictures.DiscardBitmap(written_);
      return;
    }
    RemoveEarlier(platform_.bitmap_path);
    if (platform_.bitmap_fallback_path != platform_.bitmap_path)
      RemoveEarlier(platform_.bitmap_fallback_path);
  }

  void RemoveEarlier(const std::string& bitmap) {
    if (!bitmap.empty()) platform_.pictures.RemoveEarlierBitmaps(bitmap, written_);
  }

  Platform& platform_;
  std::string written_;
  bool shown_ = false;
};

ChangeResult Apply(const std::string& path, const Settings& settings, Platform& platform) {
  if (path.empty()) return Failed(ChangeOutcome::kNoPicture, "no picture to apply", "no picture");

  ConversionFailure failure;
  std::string place;
  const auto written = WriteBitmap(path, platform, failure, place);
  if (!written && failure.picture_at_fault) {
    return Failed(ChangeOutcome::kPictureFailed, "cannot use " + path + ": " + failure.reason,
                  failure.reason);
  }
  if (!written) {
    return Failed(ChangeOutcome::kBitmapFailed,
                  "cannot write the wallpaper file " + place + ": " + failure.reason,
                  failure.reason);
  }
  Handover handover(platform, written->path);
  platform.loop.Yield();

  const auto mode =
      Choose_Display_Mode(settings.iDisplayType, written->size, platform.loop.ScreenDpi(),
                          settings.iAutoSize, settings.iAutoRatio);
  if (!mode) {
    return Failed(ChangeOutcome::kPictureFailed, "cannot use " + path + ": it has no height",
                  "no height");
  }

  std::string refused;
  if (!Set_Wallpaper(platform.desktop, written->path, *mode, &refused))
    return Failed(ChangeOutcome::kDesktopFailed, refused, "the desktop refused it", *mode);
  handover.Shown();
  return {ChangeOutcome::kApplied, *mode, {}, {}};
}

}  // namespace

ChangeResult Apply_Picture(const std::string& path, const Settings& settings, Platform& platform) {
  try {
    return Apply(path, settings, platform);
  } catch (const std::exception& e) {
    return Failed(ChangeOutcome::kPictureFailed, "cannot use " + path + ": " + e.what(), e.what());
  }
}

int ExitCode(const ChangeResult& result) {
  return result.outcome == ChangeOutcome::kApplied && !result.last_file_not_stored ? 0 : 1;
}

}  // namespace vellumo
