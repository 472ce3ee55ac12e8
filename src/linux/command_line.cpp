#include "command_line.h"

#include "platform/text.h"
#include "startup/run_mode.h"

namespace vellumo {

const char kUsage[] =
    "Usage: vellumo [-next]\n"
    "Changes the desktop wallpaper through a folder of pictures.\n"
    "\n"
    "  (no option)   open the settings window\n"
    "  -next         change the wallpaper once and end (--next does the same)\n"
    "  -h, --help    show this help and end\n"
    "  --version     show the version and end\n";

Command ParseCommandLine(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return Command::kSettingsWindow;
  if (arguments.size() > 1) return Command::kUsageError;
  const std::string& argument = arguments.front();
  if (IsBackgroundSwitch(argument) || AsciiLower(argument) == "--next") return Command::kChange;
  if (argument == "--help" || argument == "-h") return Command::kHelp;
  if (argument == "--version") return Command::kVersion;
  return Command::kUsageError;
}

}  // namespace vellumo
