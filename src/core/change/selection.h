#pragma once

#include <random>
#include <string>
#include <vector>

namespace vellumo {

// The path after `last_file` in list order, wrapping to the first; the first path when
// `last_file` is not listed. `last_file` becomes the result. An empty list (a source folder not
// mounted yet) yields the empty path and keeps `last_file`, so the order resumes from it later.
std::string Pick_Sequential(const std::vector<std::string>& paths, std::string& last_file);

// A random path, never `last_file` again unless `repeats` allows it (a list of one path yields
// that path without drawing). `last_file` becomes the result; an empty list yields the empty
// path and keeps it.
std::string Pick_Random(const std::vector<std::string>& paths, std::string& last_file, bool repeats,
                        std::mt19937_64& generator);

// Where a change goes when its first choice cannot be used: every other listed picture, once
// each. In list order they follow the first choice round the list; in random order they come
// shuffled, with `avoid` (the picture shown before) last unless `repeats` lets it come like
// any other. `paths` must outlive the object.
class Fallbacks {
 public:
  Fallbacks(const std::vector<std::string>& paths, const std::string& first,
            const std::string& avoid, bool random, bool repeats, std::mt19937_64& generator);

  // The next picture to try; empty once every one has been.
  std::string Next();

 private:
  const std::vector<std::string>& paths_;
  std::vector<size_t> order_;
  size_t next_ = 0;
};

// A generator seeded once per run from the system's entropy and the clock.
std::mt19937_64 SeededGenerator();

}  // namespace vellumo
