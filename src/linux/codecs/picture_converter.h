#pragma once

#include "platform/pictures.h"

namespace vellumo {

// Decodes with DecodePicture straight into a bitmap beside the target, then moves it over the
// target in one step; on any failure the target is left untouched.
class LinuxPictureConverter : public PictureConverter {
 public:
  std::optional<PixelSize> ConvertToBitmap(const std::string& picture,
                                           const std::string& bitmap) override;
};

}  // namespace vellumo
