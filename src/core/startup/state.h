#pragma once

#include <string>
#include <vector>

#include "settings/settings.h"

namespace vellumo {

// The program-wide variables of one run, owned by the start-up code and passed by reference.
struct State {
  Settings settings;
  bool bBackgroundRun = false;
  std::vector<std::string> sImagePaths;  // index for index with the list's display names
  std::string sCurrentFile;              // the picture being applied now
};

}  // namespace vellumo
