// Converts one picture to the wallpaper file the way a wallpaper change does, and prints the
// pixel size and the file written. Used by the benchmark scripts to time and measure the converter
// on its own.
#include <cstdio>

#include "picture_converter.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s PICTURE PLACE   (PLACE: e.g. dir/vellumo.png)\n", argv[0]);
    return 2;
  }
  vellumo::LinuxPictureConverter converter;
  const auto written = converter.ConvertToBitmap(argv[1], argv[2]);
  if (!written) {
    std::fprintf(stderr, "conversion failed\n");
    return 1;
  }
  // A change removes the file it replaces once the desktop shows the new one; so does this, or
  // repeated runs would fill the folder.
  converter.RemoveEarlierBitmaps(argv[2], written->path);
  std::printf("%dx%d %s\n", written->size.width, written->size.height, written->path.c_str());
  return 0;
}
