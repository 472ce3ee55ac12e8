#include "hyprland_wallpaper.h"

#include "command.h"
#include "platform/text.h"

namespace vellumo {
namespace {

const char* Prefix(Layout layout) {
  switch (layout) {
    case Layout::kTiled:
      return "tile:";
    case Layout::kCentered:
      return "contain:";
    case Layout::kStretched:
      break;
  }
  return "";
}

// hyprctl reaches Hyprland, and hyprpaper, through sockets; while either is not up yet it says
// it could not connect.
bool SaysNotRunning(const CommandResult& result) {
  const std::string text = AsciiLower(result.output + result.errors);
  return text.find("couldn't connect") != std::string::npos ||
         text.find("could not connect") != std::string::npos ||
         text.find("hyprland_instance_signature not set") != std::string::npos ||
         text.find("is hyprland running") != std::string::npos;
}

std::string_view TrimSpace(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

std::vector<std::string> HyprlandMonitors(std::string_view listing) {
  std::vector<std::string> names;
  while (!listing.empty()) {
    const size_t end = listing.find('\n');
    const std::string_view line = listing.substr(0, end);
    if (line.starts_with("Monitor ")) {
      std::string_view rest = line.substr(8);
      const size_t blank = rest.find(' ');
      if (blank != std::string_view::npos && blank > 0) names.emplace_back(rest.substr(0, blank));
    }
    if (end == std::string_view::npos) break;
    listing.remove_prefix(end + 1);
  }
  return names;
}

std::optional<std::string> HyprlandWallpaper::Hyprpaper(const std::vector<std::string>& words,
                                                        bool& missing) const {
  std::vector<std::string> argv = {"hyprctl", "hyprpaper"};
  argv.insert(argv.end(), words.begin(), words.end());
  const CommandResult result = RunCommand(argv, time_limit_);
  const std::string answer(TrimSpace(result.output));
  if (Succeeded(result) && (answer.empty() || answer == "ok")) return std::nullopt;
  missing = SaysNotRunning(result);
  std::string why =
      Succeeded(result) ? answer.substr(0, answer.find('\n')) : DescribeFailure(result);
  return "hyprctl hyprpaper " + words.front() + " failed (" + why + ")";
}

bool HyprlandWallpaper::CanShow(const std::string& absolute_path) const {
  return absolute_path.find_first_of("#$") == std::string::npos;
}

BackendResult HyprlandWallpaper::Set(const std::string& absolute_path, Layout layout) {
  bool missing = false;
  auto fail = [&missing](std::string why) {
    return missing ? BackendResult::Missing(std::move(why)) : BackendResult::Failed(std::move(why));
  };
  if (auto failure = Hyprpaper({"preload", absolute_path}, missing)) return fail(*failure);

  const CommandResult listing = RunCommand({"hyprctl", "monitors"}, time_limit_);
  std::vector<std::string> monitors;
  if (Succeeded(listing)) monitors = HyprlandMonitors(listing.output);
  if (monitors.empty()) monitors.push_back("");  // hyprpaper's word for every monitor

  const std::string prefix = Prefix(layout);
  for (const std::string& monitor : monitors) {
    auto failure = Hyprpaper({"wallpaper", monitor + "," + prefix + absolute_path}, missing);
    // A hyprpaper without the layout prefixes takes the picture as it is.
    if (failure && !prefix.empty() && !missing) {
      failure = Hyprpaper({"wallpaper", monitor + "," + absolute_path}, missing);
    }
    if (failure) return fail(*failure);
  }
  // Each change preloads a new file; the ones no monitor shows would pile up in memory.
  Hyprpaper({"unload", "unused"}, missing);
  return BackendResult::Set();
}

}  // namespace vellumo
