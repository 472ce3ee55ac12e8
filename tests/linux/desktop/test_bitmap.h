#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vellumo::testing {

struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  bool operator==(const Rgb&) const = default;
};

// Writes a 24-bit bottom-up Windows bitmap whose pixel (x, y), y = 0 at the top, is colour(x, y).
void WriteBitmap(const std::string& path, int width, int height,
                 const std::function<Rgb(int x, int y)>& colour);

// A temporary folder, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace vellumo::testing
