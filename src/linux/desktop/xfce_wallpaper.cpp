#include "xfce_wallpaper.h"

#include <regex>

#include "command.h"
#include "dbus_session.h"
#include "platform/text.h"
#include "xrandr_monitors.h"

namespace vellumo {
namespace {

const char* kChannel = "xfce4-desktop";

const char* ImageStyle(Layout layout) {
  switch (layout) {
    case Layout::kTiled:
      return "2";
    case Layout::kCentered:
      return "1";
    case Layout::kStretched:
      break;
  }
  return "3";
}

// The keys xfdesktop reads when it finds none: screen 0, each connected monitor, workspace 0.
// Without xrandr's answer, "monitor0", the name older xfdesktop versions use.
std::vector<std::string> NewPictureProperties(std::chrono::milliseconds time_limit) {
  std::vector<std::string> names = ActiveMonitorNames(time_limit);
  if (names.empty()) names.push_back("0");
  std::vector<std::string> properties;
  for (const std::string& name : names) {
    properties.push_back("/backdrop/screen0/monitor" + name + "/workspace0/last-image");
  }
  return properties;
}

std::string Sibling(const std::string& property, const char* name) {
  return property.substr(0, property.rfind('/') + 1) + name;
}

}  // namespace

std::vector<std::string> XfcePictureProperties(std::string_view listing) {
  static const std::regex kPicture(
      R"(^/backdrop/screen[0-9]+/monitor[^/]+/workspace[0-9]+/last-image$)");
  std::vector<std::string> properties;
  while (!listing.empty()) {
    const size_t end = listing.find('\n');
    const std::string line(TrimBlanks(listing.substr(0, end)));
    if (std::regex_match(line, kPicture)) properties.push_back(line);
    if (end == std::string_view::npos) break;
    listing.remove_prefix(end + 1);
  }
  return properties;
}

bool XfceWallpaper::CanShow(const std::string& absolute_path) const {
  return IsDbusText(absolute_path) && absolute_path.find_first_of("\n\r\t") == std::string::npos;
}

BackendResult XfceWallpaper::Set(const std::string& absolute_path, Layout layout) {
  const CommandResult listing = RunCommand({"xfconf-query", "-c", kChannel, "-l"}, time_limit_);
  if (!listing.started) {
    return BackendResult::Failed("xfconf-query failed (" + DescribeFailure(listing) + ")");
  }
  std::vector<std::string> properties;
  if (Succeeded(listing)) {
    properties = XfcePictureProperties(listing.output);
  } else if ((listing.output + listing.errors).find("contains no properties") ==
             std::string::npos) {
    // Not an empty channel: xfconfd did not answer, which it does not until the session bus is.
    return BackendResult::Missing("xfconf-query failed (" + DescribeFailure(listing) + ")");
  }
  if (properties.empty()) properties = NewPictureProperties(time_limit_);

  for (const std::string& property : properties) {
    // The style first, so xfdesktop loads the new picture straight in its new layout.
    const std::vector<std::vector<std::string>> calls = {
        {"xfconf-query", "-c", kChannel, "-p", Sibling(property, "image-style"), "-n", "-t", "int",
         "-s", ImageStyle(layout)},
        {"xfconf-query", "-c", kChannel, "-p", property, "-n", "-t", "string", "-s", absolute_path},
    };
    for (const auto& argv : calls) {
      const CommandResult result = RunCommand(argv, time_limit_);
      if (!Succeeded(result)) {
        return BackendResult::Failed("xfconf-query -p " + argv[4] + " failed (" +
                                     DescribeFailure(result) + ")");
      }
    }
  }
  return BackendResult::Set();
}

}  // namespace vellumo
