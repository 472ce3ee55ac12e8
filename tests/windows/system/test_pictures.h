#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vellumo::test {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
};

using PixelAt = std::function<Rgb(int x, int y)>;

// A 24-bit bottom-up Windows bitmap written byte by byte.
std::string MakeBmp24(int width, int height, const PixelAt& pixel);
// Only the headers of a 24-bit bitmap claiming the given size, followed by `data_bytes` zeros.
std::string MakeBmpHeaders(int width, int height, int data_bytes);

// Encodes a picture with the system's own WIC encoders (COM must be initialised).
// JPEG at high quality; GIF with a palette of the given colours, each pixel mapped to the
// nearest.
bool EncodeJpeg(const std::string& path, int width, int height, const PixelAt& pixel);
bool EncodeGif(const std::string& path, int width, int height, const std::vector<Rgb>& palette,
               const PixelAt& pixel);

// A 24-bit bitmap read back: top row first.
struct Bitmap {
  int width = 0;
  int height = 0;
  int bits = 0;
  std::vector<Rgb> pixels;
  Rgb at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
// False when the bytes are not a complete, uncompressed 24-bit bitmap.
bool ParseBmp24(const std::string& bytes, Bitmap& bitmap);

// COM for the calling thread, as the program sets it up.
class ComApartment {
 public:
  ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~ComApartment() { CoUninitialize(); }
};

}  // namespace vellumo::test
