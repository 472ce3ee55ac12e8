#pragma once

#include <string>

#include "platform/pictures.h"

namespace vellumo {

// The preview's texts. The three line breaks move the notice down towards the middle.
inline constexpr char kPreviewCaption[] = "       Preview";  // the check box sits on the blanks
inline constexpr char kLoadingText[] = "\r\n\r\n\r\nLoading...";
inline constexpr char kInvalidText[] = "\r\n\r\n\r\nInvalid File";

// The notice after a change from the window failed: "Not changed:" and why, in a few words.
std::string NotChangedText(const std::string& reason);

// "       Preview - 1024 x 768".
std::string PreviewCaption(PixelSize picture);

// A rectangle in window pixels at 96 dpi; the picture's size may be fractional.
struct PreviewRect {
  int left = 0;
  int top = 0;
  float width = 0;
  float height = 0;
};

// The preview area, lblFrame's rectangle.
struct PreviewArea {
  int left;
  int top;
  int width;
  int height;
};

// Fits a picture into the area, its aspect ratio kept: a tall picture takes the full height and
// is centred across; a wide or square one takes the full width and is centred from top to
// bottom. Empty for a picture without width or height.
PreviewRect FitPreview(PixelSize picture, PreviewArea area);

// The size to decode a picture at for the preview, in device pixels: the rectangle FitPreview
// gives it in the settings window's preview area, scaled by `device_scale` (device pixels per
// pixel at 96 dpi) and rounded up, never larger than the picture nor empty. Decoded so, a
// picture is only ever scaled down to be shown, never up.
PixelSize PreviewDecodeSize(PixelSize picture, double device_scale);

// True when a thumbnail of `thumbnail` pixels serves a preview that wants `wanted` of a picture
// of `full`: it is at least that large, or it is the whole picture.
bool ThumbnailCovers(PixelSize thumbnail, PixelSize wanted, PixelSize full);

// Rounds to the nearest whole number, halves to the even neighbour.
int RoundHalfEven(float value);

}  // namespace vellumo
