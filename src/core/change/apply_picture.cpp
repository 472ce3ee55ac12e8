#include "change/apply_picture.h"

#include <exception>

#include "change/display_mode.h"
#include "change/wallpaper.h"

namespace vellumo {
namespace {

ChangeResult Failed(ChangeOutcome outcome, std::string detail, std::string mode = {}) {
  return {outcome, std::move(mode), std::move(detail)};
}

ChangeResult Apply(const std::string& path, const Settings& settings, Platform& platform) {
  if (path.empty()) return Failed(ChangeOutcome::kNoPicture, "no picture to apply");

  const auto size = platform.pictures.ConvertToBitmap(path, platform.bitmap_path);
  if (!size) return Failed(ChangeOutcome::kPictureFailed, "cannot use picture " + path);
  platform.loop.Yield();

  const auto mode = Choose_Display_Mode(settings.iDisplayType, *size, platform.loop.ScreenDpi(),
                                        settings.iAutoSize, settings.iAutoRatio);
  if (!mode) return Failed(ChangeOutcome::kPictureFailed, "picture without height: " + path);

  std::string failure;
  if (!Set_Wallpaper(platform.desktop, platform.bitmap_path, *mode, &failure))
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
