#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "wic_preview.h"

namespace vellumo {

// The thumbnail the shell already keeps of a picture (its thumbnail cache, as Explorer fills
// it), when it serves a preview that wants `wanted` of a picture of `full`: at least that large,
// or the whole picture. Nothing when the shell has none (Wine keeps none). The calling thread
// must have initialised COM (apartment threaded).
std::optional<PreviewPixels> ShellThumbnail(const std::string& path, PixelSize wanted,
                                            PixelSize full);

// The pixels of a bitmap the shell handed out, top row first, as the preview holds them; for
// the shell's own thumbnail and for tests.
std::optional<PreviewPixels> PixelsOfBitmap(HBITMAP bitmap, PixelSize full);

}  // namespace vellumo
