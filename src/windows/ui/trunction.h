#pragma once

#include "win.h"

#include <string>

namespace vellumo {

// Shortens `path` so that, drawn with the font selected in `dc`, it fits `width` pixels: folders
// give way to "..." and the file name stays; a name too wide on its own is cut and ends in
// "...". A path that fits comes back unchanged.
std::string TruncatePath(const std::string& path, int width, HDC dc);

// The same, measured with `font` in `window`'s device context. The path comes back unchanged
// when the window has no context.
std::string TruncatePath(const std::string& path, int width, HWND window, HFONT font);

}  // namespace vellumo
