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

struct Written {
  PixelSize size;
  std::string bitmap;
};

std::optional<Written> WriteTo(const std::string& bitmap, const std::string& picture,
                               PictureConverter& pictures) {
  if (bitmap.empty()) return std::nullopt;
  const auto size = pictures.ConvertToBitmap(picture, bitmap);
  if (!size) return std::nullopt;
  return Written{*size, bitmap};
}

// Beside the program when that folder takes the file, else in the fallback folder. The
// converter does not say whether the folder or the picture failed, so a bad picture costs one
// more failed decode there; the old bitmap stays in both places.
std::optional<Written> WriteBitmap(const std::string& picture, Platform& platform) {
  if (auto written = WriteTo(platform.bitmap_path, picture, platform.pictures)) return written;
  if (platform.bitmap_fallback_path == platform.bitmap_path) return std::nullopt;
  return WriteTo(platform.bitmap_fallback_path, picture, platform.pictures);
}

ChangeResult Apply(const std::string& path, const Settings& settings, Platform& platform) {
  if (path.empty()) return Failed(ChangeOutcome::kNoPicture, "no picture to apply");

  const auto written = WriteBitmap(path, platform);
  if (!written) return Failed(ChangeOutcome::kPictureFailed, "cannot use picture " + path);
  platform.loop.Yield();

  const auto mode =
      Choose_Display_Mode(settings.iDisplayType, written->size, platform.loop.ScreenDpi(),
                          settings.iAutoSize, settings.iAutoRatio);
  if (!mode) return Failed(ChangeOutcome::kPictureFailed, "picture without height: " + path);

  std::string failure;
  if (!Set_Wallpaper(platform.desktop, written->bitmap, *mode, &failure))
    return Failed(ChangeOutcome::kDesktopFailed, failure, *mode);
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
