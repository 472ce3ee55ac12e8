#include "change/apply_picture.h"

#include <exception>
#include <optional>

#include "change/display_mode.h"
#include "change/wallpaper.h"

namespace vellumo {
namespace {

ChangeResult Failed(ChangeOutcome outcome, std::string detail, std::string mode = {}) {
  return {outcome, std::move(mode), std::move(detail)};
}

std::optional<WrittenBitmap> WriteTo(const std::string& bitmap, const std::string& picture,
                                     PictureConverter& pictures) {
  if (bitmap.empty()) return std::nullopt;
  return pictures.ConvertToBitmap(picture, bitmap);
}

// Beside the program when that folder takes the file, else in the fallback folder. The
// converter does not say whether the folder or the picture failed, so a bad picture costs one
// more failed decode there; the old bitmap stays in both places.
std::optional<WrittenBitmap> WriteBitmap(const std::string& picture, Platform& platform) {
  if (auto written = WriteTo(platform.bitmap_path, picture, platform.pictures)) return written;
  if (platform.bitmap_fallback_path == platform.bitmap_path) return std::nullopt;
  return WriteTo(platform.bitmap_fallback_path, picture, platform.pictures);
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
  if (path.empty()) return Failed(ChangeOutcome::kNoPicture, "no picture to apply");

  const auto written = WriteBitmap(path, platform);
  if (!written) return Failed(ChangeOutcome::kPictureFailed, "cannot use picture " + path);
  Handover handover(platform, written->path);
  platform.loop.Yield();

  const auto mode =
      Choose_Display_Mode(settings.iDisplayType, written->size, platform.loop.ScreenDpi(),
                          settings.iAutoSize, settings.iAutoRatio);
  if (!mode) return Failed(ChangeOutcome::kPictureFailed, "picture without height: " + path);

  std::string failure;
  if (!Set_Wallpaper(platform.desktop, written->path, *mode, &failure))
    return Failed(ChangeOutcome::kDesktopFailed, failure, *mode);
  handover.Shown();
  return {ChangeOutcome::kApplied, *mode, {}};
}

}  // namespace

ChangeResult Apply_Picture(const std::string& path, const Settings& settings, Platform& platform) {
  try {
    return Apply(path, settings, platform);
  } catch (const std::exception& e) {
    return Failed(ChangeOutcome::kPictureFailed, e.what());
  }
}

}  // namespace vellumo
