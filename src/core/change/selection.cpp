#include "change/selection.h"

#include <algorithm>
#include <chrono>

namespace vellumo {

std::string Pick_Sequential(const std::vector<std::string>& paths, std::string& last_file) {
  if (paths.empty()) return {};
  std::size_t i = 0;
  while (i + 1 < paths.size() && paths[i] != last_file) ++i;
  return last_file = (i + 1 < paths.size()) ? paths[i + 1] : paths[0];
}

std::string Pick_Random(const std::vector<std::string>& paths, std::string& last_file, bool repeats,
                        std::mt19937_64& generator) {
  if (paths.empty()) return {};
  if (paths.size() == 1) return last_file = paths[0];

  const bool only_last = std::all_of(paths.begin(), paths.end(),
                                     [&](const std::string& path) { return path == last_file; });
  if (only_last) return last_file;

  std::uniform_int_distribution<std::size_t> position(0, paths.size() - 1);
  std::size_t p = position(generator);
  while (!repeats && paths[p] == last_file) p = position(generator);
  return last_file = paths[p];
}

std::mt19937_64 SeededGenerator() {
  std::random_device entropy;
  const auto now =
      static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  std::seed_seq seed{entropy(), entropy(), static_cast<unsigned>(now),
                     static_cast<unsigned>(now >> 32)};
  return std::mt19937_64(seed);
}

}  // namespace vellumo
