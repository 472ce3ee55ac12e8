#pragma once

#include <memory>

#include "change/change_screen_view.h"
#include "preview_image.h"

namespace vellumo {

// The Qt windows. A QApplication must exist before any of them is created.
class QtViews : public Views {
 public:
  std::unique_ptr<ChangeScreenView> CreateChangeScreen(ChangeScreenEvents& events) override;
  std::unique_ptr<MainView> CreateMain(MainEvents& events) override;
};

// The preview through the program's own decoders: a JPEG scaled while it decodes, and every
// picture turned upright as the wallpaper is.
std::optional<PreviewImage> DecodePreviewWithCodecs(const std::string& path,
                                                    const WantedSize& wanted);

}  // namespace vellumo
