#pragma once

#include <string>
#include <vector>

namespace vellumo {

// What the Linux command line asks for.
enum class Command {
  kSettingsWindow,  // no argument
  kChange,          // -next (any letter case), or --next as Linux programs spell it
  kHelp,            // --help, -h
  kVersion,         // --version
  kUsageError,      // anything else
};

// `arguments` without the program's own path.
Command ParseCommandLine(const std::vector<std::string>& arguments);

// The usage text, for --help and after a usage error.
extern const char kUsage[];

}  // namespace vellumo
