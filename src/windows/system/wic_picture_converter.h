#pragma once

#include "platform/pictures.h"

namespace vellumo {

// Decodes BMP, JPEG and GIF (the first frame on the logical screen) with the Windows Imaging
// Component. The calling
// thread must have initialised COM (apartment threaded).
class WicPictureConverter : public PictureConverter {
 public:
  using PictureConverter::ConvertToBitmap;
  std::optional<WrittenBitmap> ConvertToBitmap(const std::string& picture,
                                               const std::string& bitmap,
                                               ConversionFailure& failure) override;
};

}  // namespace vellumo
