// The settings window's preview of one picture through the shared thumbnail cache, several
// times, printing the time of each repetition:
//   preview  decoded as when there is no cache (the program's decoders at 150 % dpi),
//   first    a picture the cache does not hold yet: decoded, then its thumbnail written (the
//            cache is emptied before each repetition, outside its time),
//   cached   from the thumbnail the cache holds.
// The cache is a temporary folder of its own. bench/preview-thumbnails-linux.sh compares them
// with a full decode.
//
//   thumbnail_bench --mode preview|first|cached [--runs N] PICTURE
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "preview_runs.h"
#include "qt_views.h"
#include "thumbnail_cache.h"
#include "ui/preview.h"

namespace {

using namespace vellumo;

PixelSize Wanted(PixelSize full) {
  return PreviewDecodeSize(full, 1.5);  // 144 dpi
}

bool PreviewOnce(const bench::PreviewRunOptions& options, const ThumbnailCache& cache) {
  if (options.mode == "preview")
    return DecodePreviewWithCodecs(options.picture, Wanted).has_value();
  return PreviewWithThumbnails(options.picture, Wanted, cache, DecodePreviewWithCodecs).has_value();
}

}  // namespace

int main(int argc, char** argv) {
  const auto options =
      bench::ParsePreviewRunOptions({argv + 1, argv + argc}, {"preview", "first", "cached"});
  if (!options) {
    std::fprintf(stderr, "usage: %s --mode preview|first|cached [--runs N] PICTURE\n", argv[0]);
    return 2;
  }
  std::string root = (std::filesystem::temp_directory_path() / "thumbnails-XXXXXX").string();
  if (!mkdtemp(root.data())) return 1;
  const ThumbnailCache cache(root);
  const auto empty_cache = [&] {
    if (options->mode != "first") return;
    std::filesystem::remove_all(root);
    std::filesystem::create_directory(root);
  };
  if (options->mode == "cached") PreviewOnce(*options, cache);
  const bool timed = bench::TimePreviewRuns(
      *options, [&] { return PreviewOnce(*options, cache); }, empty_cache);
  std::filesystem::remove_all(root);
  return timed ? 0 : 1;
}
