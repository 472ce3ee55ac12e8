#pragma once

#include <wincodec.h>

#include <cstdint>
#include <string>

#include "com_ptr.h"
#include "watched_file_stream.h"

namespace vellumo {

// A picture opened for decoding: its first frame, and the picture that frame belongs to. A GIF's
// picture is its logical screen: the frame at its offset over the background colour of the
// global colour table (black without one), which also shows through the frame's transparent
// pixels. Any other picture is its frame. The wallpaper and the preview both draw it so, and
// the preview shows what the desktop will.
struct WicSource {
  ComPtr<IWICImagingFactory> factory;
  ComPtr<WatchedFileStream> file;  // read through this, so a failure can say why
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  UINT width = 0;  // of the picture
  UINT height = 0;
  UINT frame_width = 0;
  UINT frame_height = 0;
  UINT left = 0;  // the frame's place in the picture
  UINT top = 0;
  bool on_screen = false;             // a GIF's screen, larger than its frame or not
  uint8_t background[3] = {0, 0, 0};  // blue, green, red
  bool jpeg = false;
  int orientation = 1;  // a photo's EXIF orientation, 1 (upright) for any other picture
};

// Opens the picture at `path` (in its long-path form) through WIC. A picture or frame larger
// than IsSensibleBitmapSize allows is refused (WINCODEC_ERR_IMAGESIZEOUTOFRANGE) before anything
// is allocated for it: a few header bytes can claim any size. On failure the members filled so
// far tell which step failed: no factory, no file, or the decoder's.
HRESULT OpenWicSource(const std::wstring& path, WicSource& source);

// The rows or columns [first, last) of the picture that its frame covers.
struct FrameSpan {
  UINT first = 0;
  UINT last = 0;
  bool Holds(UINT i) const { return i >= first && i < last; }
  bool empty() const { return first == last; }
};

// The frame's `frame_length` pixels from `offset`, clipped to the picture's `picture_length`.
FrameSpan Covered(UINT offset, UINT frame_length, UINT picture_length);

}  // namespace vellumo
