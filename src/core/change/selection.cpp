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

Fallbacks::Fallbacks(const std::vector<std::string>& paths, const std::string& first,
                     const std::string& avoid, bool random, bool repeats,
                     std::mt19937_64& generator)
    : paths_(paths) {
  const auto at = std::find(paths.begin(), paths.end(), first);
  const size_t start = at == paths.end() ? 0 : static_cast<size_t>(at - paths.begin()) + 1;
  for (size_t step = 0; step < paths.size(); ++step) {
    const size_t i = (start + step) % paths.size();
    if (paths[i] != first) order_.push_back(i);
  }
  if (!random) return;
  std::shuffle(order_.begin(), order_.end(), generator);
  if (repeats) return;
  const auto last =
      std::find_if(order_.begin(), order_.end(), [&](size_t i) { return paths[i] == avoid; });
  if (last != order_.end()) std::rotate(last, last + 1, order_.end());
}

std::string Fallbacks::Next() {
  if (next_ >= order_.size()) return {};
  return paths_[order_[next_++]];
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
