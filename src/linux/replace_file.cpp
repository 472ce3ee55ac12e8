#include <cstdio>

#include "platform/bitmap_file.h"

namespace vellumo {

// rename(2) replaces the target atomically within one file system: readers see the old file or
// the new one, never a partial one.
bool ReplaceFile(const std::filesystem::path& temp, const std::filesystem::path& target) {
  return std::rename(temp.c_str(), target.c_str()) == 0;
}

}  // namespace vellumo
