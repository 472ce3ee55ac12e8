#include "xrandr_monitors.h"

#include "command.h"
#include "platform/text.h"

namespace vellumo {

// "Monitors: 2" then lines such as " 0: +*HDMI-1 1920/530x1080/300+0+0  HDMI-1": the last word.
std::vector<std::string> MonitorNamesFromXrandr(std::string_view listing) {
  std::vector<std::string> names;
  while (!listing.empty()) {
    const size_t end = listing.find('\n');
    const std::string_view line = TrimBlanks(listing.substr(0, end));
    const size_t colon = line.find(':');
    const size_t last_blank = line.find_last_of(" \t");
    if (colon != std::string_view::npos && colon > 0 && last_blank != std::string_view::npos &&
        line.substr(0, colon).find_first_not_of("0123456789") == std::string_view::npos) {
      names.emplace_back(line.substr(last_blank + 1));
    }
    if (end == std::string_view::npos) break;
    listing.remove_prefix(end + 1);
  }
  return names;
}

std::vector<std::string> ActiveMonitorNames(std::chrono::milliseconds time_limit) {
  const CommandResult listing = RunCommand({"xrandr", "--listactivemonitors"}, time_limit);
  if (!Succeeded(listing)) return {};
  return MonitorNamesFromXrandr(listing.output);
}

}  // namespace vellumo
