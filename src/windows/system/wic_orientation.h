#pragma once

#include <wincodec.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vellumo {

// The EXIF orientation (1 to 8) a camera recorded for the JPEG at `path`, whose first frame is
// `frame`: from WIC's metadata where it has it, else read from the file's first segments (Wine's
// JPEG decoder exposes no EXIF). 1, upright, for any other picture or when it cannot be read.
int ReadOrientation(IWICBitmapFrameDecode* frame, const std::wstring& path);

// Turns a small picture (32 bits a pixel, top-down rows) upright, in place; width and height
// swap for the orientations that need it. Done here rather than with WIC's flip-rotator, which
// under Wine flips only top to bottom.
bool TurnUpright(int orientation, UINT& width, UINT& height, std::vector<uint8_t>& pixels);

// True when the orientation swaps width and height.
inline bool SwapsSides(int orientation) {
  return orientation >= 5 && orientation <= 8;
}

}  // namespace vellumo
