// What the two preview benchmarks (Windows under Wine, Linux) share: their arguments and the
// timed repetitions. Each prints its own peak memory after these lines.
//
//   --mode MODE [--runs N] PICTURE
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
  std::string mode = "preview";  // "full": the whole picture at full size; others per program
  int runs = 5;
  std::string picture;  // UTF-8
};

inline std::optional<PreviewRunOptions> ParsePreviewRunOptions(
    const std::vector<std::string>& arguments,
    const std::vector<std::string>& modes = {"preview", "full"}) {
  PreviewRunOptions options;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    const bool has_value = i + 1 < arguments.size();
    if (a == "--mode" && has_value) {
      options.mode = arguments[++i];
      if (std::find(modes.begin(), modes.end(), options.mode) == modes.end()) return std::nullopt;
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
// lines; false, with a message, when a decode fails. `before_each` runs before each timed
// repetition, outside its time.
inline bool TimePreviewRuns(const PreviewRunOptions& options, const std::function<bool()>& decode,
                            const std::function<void()>& before_each = {}) {
  std::vector<double> times;
  for (int i = 0; i < options.runs; ++i) {
    if (before_each) before_each();
    const auto start = std::chrono::steady_clock::now();
    if (!decode()) {
      std::fprintf(stderr, "decoding failed\n");
      return false;
    }
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    times.push_back(took.count());
  }
  std::printf("mode %s\nrun_ms", options.mode.c_str());
  for (const double t : times) std::printf(" %.1f", t);
  std::sort(times.begin(), times.end());
  std::printf("\nmedian_ms %.1f\n", times[times.size() / 2]);
  return true;
}

}  // namespace vellumo::bench
