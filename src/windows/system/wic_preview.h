#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/pictures.h"

namespace vellumo {

// A picture decoded at the size the settings window shows it.
struct PreviewPixels {
  PixelSize full;  // the picture's own size, as the wallpaper conversion reports it
  int width = 0;   // size of `bgra`
  int height = 0;
  std::vector<uint8_t> bgra;  // top-down rows, 4 bytes a pixel (B, G, R, A = 255), stride width * 4
};

// Decodes `path` (UTF-8) scaled to the size `wanted` gives for its upright full size, never
// larger than the picture itself and at least 1 x 1. A GIF is its logical screen with the first
// frame on it, as on the desktop. Nothing on any failure (missing, corrupt or absurdly large
// picture). The calling thread must have initialised COM (apartment threaded).
//
// `shortcut`, when given, is offered the picture's upright full size and the size wanted once
// the header is read; pixels it hands back (a thumbnail the system keeps) are taken instead of
// decoding.
using PreviewShortcut =
    std::function<std::optional<PreviewPixels>(PixelSize full, PixelSize wanted)>;
std::optional<PreviewPixels> DecodePreview(const std::string& path, const WantedSize& wanted,
                                           const PreviewShortcut& shortcut = {});

}  // namespace vellumo
