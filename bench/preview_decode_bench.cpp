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

namespace {

using namespace vellumo;

constexpr int kBoxWidth = 249, kBoxHeight = 190;

struct Options {
  bool full = false;
  int runs = 5;
  std::string picture;
};

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
  if (options.full) return DecodeFull(options.picture);
  return DecodePreview(options.picture, kBoxWidth, kBoxHeight).has_value();
}

std::optional<Options> Parse(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool has_value = i + 1 < argc;
    if (a == "--mode" && has_value) {
      const std::string mode = argv[++i];
      if (mode != "preview" && mode != "full") return std::nullopt;
      options.full = mode == "full";
    } else if (a == "--runs" && has_value) {
      options.runs = std::max(1, std::atoi(argv[++i]));
    } else if (options.picture.empty()) {
      options.picture = a;
    } else {
      return std::nullopt;
    }
  }
  if (options.picture.empty()) return std::nullopt;
  return options;
}

int Run(const Options& options) {
  std::vector<double> times;
  for (int i = 0; i < options.runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    if (!DecodeOnce(options)) {
      std::fprintf(stderr, "decoding failed\n");
      return 1;
    }
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    times.push_back(took.count());
  }
  std::printf("mode %s\nrun_ms", options.full ? "full" : "preview");
  for (const double t : times) std::printf(" %.1f", t);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("\npeak_rss_kib %ld\n", usage.ru_maxrss);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const auto options = Parse(argc, argv);
  if (!options) {
    std::fprintf(stderr, "usage: %s --mode preview|full [--runs N] PICTURE\n", argv[0]);
    return 2;
  }
  return Run(*options);
}
