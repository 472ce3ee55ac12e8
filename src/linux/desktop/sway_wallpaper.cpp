#include "sway_wallpaper.h"

#include <sys/stat.h>

#include "command.h"

namespace vellumo {
namespace {

bool IsSocket(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

}  // namespace

// swaymsg joins its arguments into one command line, which sway splits into words again (double
// quotes keep a word whole, backslash escapes) and then expands the background's path like a
// shell word (~, $VARIABLES, blanks). So the path is single-quoted for that expansion, and the
// result double-quoted for sway's own splitting.
std::string SwayPathArgument(const std::string& absolute_path) {
  std::string shell_word = "'";
  for (char c : absolute_path) {
    if (c == '\'') {
      shell_word += "'\\''";
    } else {
      shell_word += c;
    }
  }
  shell_word += '\'';
  std::string quoted = "\"";
  for (char c : shell_word) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + '"';
}

BackendResult SwayWallpaper::Set(const std::string& absolute_path, Layout layout) {
  // At login the variable may be set before sway has made its socket.
  if (!socket_.empty() && !IsSocket(socket_)) {
    return BackendResult::Missing("sway's socket " + socket_ + " does not exist");
  }
  std::vector<std::string> argv = {"swaymsg"};
  if (!socket_.empty()) argv.insert(argv.end(), {"-s", socket_});
  argv.insert(argv.end(),
              {"output", "*", "bg", SwayPathArgument(absolute_path), LayoutWord(layout)});
  const CommandResult result = RunCommand(argv, time_limit_);
  if (Succeeded(result)) return BackendResult::Set();
  const std::string failure = "swaymsg failed (" + DescribeFailure(result) + ")";
  if (result.errors.find("Unable to connect") != std::string::npos) {
    return BackendResult::Missing(failure);
  }
  return BackendResult::Failed(failure);
}

}  // namespace vellumo
