#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "bitmap24.h"

namespace vellumo::test {

// Encodes a picture with the system's own WIC encoders (COM must be initialised).
// JPEG at high quality; GIF with a palette of the given colours, each pixel mapped to the
// nearest.
bool EncodeJpeg(const std::string& path, int width, int height, const PixelAt& pixel);
bool EncodeGif(const std::string& path, int width, int height, const std::vector<Rgb>& palette,
               const PixelAt& pixel);

// The JPEG file's bytes with an EXIF segment holding only `orientation` right after its start
// marker, as a camera writes it.
std::string WithOrientation(std::string jpeg, int orientation);

// COM for the calling thread, as the program sets it up.
class ComApartment {
 public:
  ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~ComApartment() { CoUninitialize(); }
};

}  // namespace vellumo::test
