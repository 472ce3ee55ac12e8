// What the two preview benchmarks (Windows under Wine, Linux) share: their arguments and the
// timed repetitions. Each prints its own peak memory after these lines.
//
//   --mode preview|full [--runs N] PICTURE
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vellumo::bench {

struct PreviewRunOptions {
  bool full = false;  // the whole picture at full size, else the preview
  int runs = 5;
  std::string picture;  // UTF-8
};

inline std::optional<PreviewRunOptions> ParsePreviewRunOptions(
    const std::vector<std::string>& arguments) {
  PreviewRunOptions options;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    const bool has_value = i + 1 < arguments.size();
    if (a == "--mode" && has_value) {
      const std::string& mode = arguments[++i];
      if (mode != "preview" && mode != "full") return std::nullopt;
      options.full = mode == "full";
    } else if (a == "--runs" && has_value) {
      options.runs = std::max(1, std::atoi(arguments[++i].c_str()));
    } else if (options.picture.empty()) {
      options.picture = a;
    } else {
      return std::nullopt;
    }
  }
  if (options.picture.empty()) return std::nullopt;
  return options;
}

// Decodes `options.runs` times and prints "mode", "run_ms" (each repetition) and "median_ms"
// lines; false, with a message, when a decode fails.
inline bool TimePreviewRuns(const PreviewRunOptions& options, const std::function<bool()>& decode) {
  std::vector<double> times;
  for (int i = 0; i < options.runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    if (!decode()) {
      std::fprintf(stderr, "decoding failed\n");
      return false;
    }
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    times.push_back(took.count());
  }
  std::printf("mode %s\nrun_ms", options.full ? "full" : "preview");
  for (const double t : times) std::printf(" %.1f", t);
  std::sort(times.begin(), times.end());
  std::printf("\nmedian_ms %.1f\n", times[times.size() / 2]);
  return true;
}

}  // namespace vellumo::bench
