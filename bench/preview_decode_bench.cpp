// Decodes one picture either for the settings window's preview (DecodePreview into the preview
// area at 150 % dpi, 249 x 190) or whole at full size (every row into one full-size 32-bit
// buffer, as a program that scales the picture afterwards holds it), several times, and prints
// the time of each repetition and the process's peak memory. One way per process, so that the
// peaks do not mix; bench/preview-vs-full-linux.sh runs both and compares them.
//
//   preview_decode_bench --mode preview|full [--runs N] PICTURE
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "picture_decoder.h"
#include "preview_decoder.h"
#include "preview_runs.h"
#include "ui/preview.h"

namespace {

using namespace vellumo;

constexpr double kScale = 1.5;  // 144 dpi

using Options = bench::PreviewRunOptions;

bool DecodeFull(const std::string& picture) {
  std::vector<uint8_t> pixels;
  int width = 0;
  const auto on_size = [&](PixelSize size) {
    width = size.width;
    pixels.resize(static_cast<size_t>(size.width) * size.height * 4);
    return true;
  };
  const auto on_row = [&](int y, std::span<const uint8_t> bgr) {
    uint8_t* to = &pixels[static_cast<size_t>(y) * width * 4];
    for (int x = 0; x < width; ++x, to += 4) {
      std::memcpy(to, &bgr[static_cast<size_t>(x) * 3], 3);
      to[3] = 255;
    }
    return true;
  };
  return DecodePicture(picture, on_size, on_row).has_value();
}

bool DecodeOnce(const Options& options) {
  if (options.mode == "full") return DecodeFull(options.picture);
  return DecodePreview(options.picture,
                       [](PixelSize full) { return PreviewDecodeSize(full, kScale); })
      .has_value();
}

int Run(const Options& options) {
  if (!bench::TimePreviewRuns(options, [&] { return DecodeOnce(options); })) return 1;
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("peak_rss_kib %ld\n", usage.ru_maxrss);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const auto options = bench::ParsePreviewRunOptions({argv + 1, argv + argc});
  if (!options) {
    std::fprintf(stderr, "usage: %s --mode preview|full [--runs N] PICTURE\n", argv[0]);
    return 2;
  }
  return Run(*options);
}
