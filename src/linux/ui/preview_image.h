#pragma once

#include <QImage>
#include <QSize>
#include <functional>
#include <optional>
#include <string>

#include "platform/pictures.h"

namespace vellumo {

// A picture decoded for the preview: at least `fit` in one direction where the file allows (it
// is shown scaled down to the preview area), the right way up, and the full picture's size.
struct PreviewImage {
  QImage image;
  PixelSize full;
};

// Decodes the picture at `path` for an area of `fit` device pixels; nothing when it cannot.
using PreviewDecoder =
    std::function<std::optional<PreviewImage>(const std::string& path, QSize fit)>;

// Through Qt's image readers, which decode a JPEG at a reduced scale when asked for a smaller
// size.
std::optional<PreviewImage> DecodePreviewWithQt(const std::string& path, QSize fit);

}  // namespace vellumo
