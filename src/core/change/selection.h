#pragma once

#include <random>
#include <string>
#include <vector>

namespace vellumo {

// The path after `last_file` in list order, wrapping to the first; the first path when
// `last_file` is not listed; empty for an empty list. `last_file` becomes the result.
std::string Pick_Sequential(const std::vector<std::string>& paths, std::string& last_file);

// A random path, never `last_file` again unless `repeats` allows it (a list of one path yields
// that path without drawing). `last_file` becomes the result.
std::string Pick_Random(const std::vector<std::string>& paths, std::string& last_file, bool repeats,
                        std::mt19937_64& generator);

// A generator seeded once per run from the system's entropy and the clock.
std::mt19937_64 SeededGenerator();

}  // namespace vellumo
