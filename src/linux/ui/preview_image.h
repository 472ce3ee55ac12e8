#pragma once

#include <QImage>
#include <QSize>
#include <functional>
#include <optional>
#include <string>

#include "platform/pictures.h"

namespace vellumo {

// A picture decoded for the preview: at least the size wanted for it where the file allows (it
// is shown scaled down to that), the right way up, and the full picture's size.
struct PreviewImage {
  QImage image;
  PixelSize full;
};

// Decodes the picture at `path` at no less than `wanted` gives for its upright full size, in
// device pixels; nothing when it cannot.
using PreviewDecoder =
    std::function<std::optional<PreviewImage>(const std::string& path, const WantedSize& wanted)>;

// Through Qt's image readers, which decode a JPEG at a reduced scale when asked for a smaller
// size.
std::optional<PreviewImage> DecodePreviewWithQt(const std::string& path, const WantedSize& wanted);

}  // namespace vellumo
