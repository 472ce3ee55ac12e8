// Converts one picture to a wallpaper bitmap the way a wallpaper change does, and prints the
// pixel size. Used by the benchmark scripts to time and measure the converter on its own.
#include <cstdio>

#include "picture_converter.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s PICTURE BITMAP\n", argv[0]);
    return 2;
  }
  vellumo::LinuxPictureConverter converter;
  const auto size = converter.ConvertToBitmap(argv[1], argv[2]);
  if (!size) {
    std::fprintf(stderr, "conversion failed\n");
    return 1;
  }
  std::printf("%dx%d\n", size->width, size->height);
  return 0;
}
