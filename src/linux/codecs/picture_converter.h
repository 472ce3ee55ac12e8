#pragma once

#include "platform/pictures.h"

namespace vellumo {

// Decodes with DecodePicture straight into a PNG beside the wallpaper's place (see
// wallpaper_files.h), written as a partial file and moved to a fresh name in one step once
// complete; on any failure nothing new is left and the earlier files stay untouched.
class LinuxPictureConverter : public PictureConverter {
 public:
  using PictureConverter::ConvertToBitmap;
  std::optional<WrittenBitmap> ConvertToBitmap(const std::string& picture,
                                               const std::string& bitmap,
                                               ConversionFailure& failure) override;
  void RemoveEarlierBitmaps(const std::string& bitmap, const std::string& shown) override;
  void DiscardBitmap(const std::string& written) override;
};

}  // namespace vellumo
