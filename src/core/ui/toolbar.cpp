#include "ui/toolbar.h"

#include <algorithm>

namespace vellumo {

int16_t Next_Source_Type(int16_t source_type) {
  return source_type == 2 ? int16_t{1} : static_cast<int16_t>(source_type + 1);
}

int StartupMenuEntryOf(int minutes) {
  for (size_t i = 0; i < kStartupMenu.size(); ++i)
    if (kStartupMenu[i].minutes == minutes) return static_cast<int>(i) + 1;
  return 0;
}

int SourceImage(int16_t source_type) {
  return std::clamp(source_type + 1, 1, 3);
}

}  // namespace vellumo
