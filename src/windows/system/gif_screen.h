#pragma once

#include <wincodec.h>

#include <cstdint>
#include <optional>

namespace vellumo {

// A GIF's picture is its logical screen: the first frame drawn at its offset over the background
// colour of the global colour table (black without one), which also shows through the frame's
// transparent pixels.
struct GifScreen {
  UINT width = 0;
  UINT height = 0;
  UINT left = 0;  // the frame's place on the screen
  UINT top = 0;
  uint8_t background[3] = {0, 0, 0};  // blue, green, red
};

// The screen of a decoder's GIF, for its first frame; nothing for any other picture, or a GIF
// that gives no screen size.
std::optional<GifScreen> ReadGifScreen(IWICImagingFactory* factory, IWICBitmapDecoder* decoder,
                                       IWICBitmapFrameDecode* frame);

}  // namespace vellumo
