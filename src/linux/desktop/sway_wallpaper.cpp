#include "sway_wallpaper.h"

#include <sys/stat.h>

#include <cstring>

#include "command.h"

namespace vellumo {
namespace {

bool IsSocket(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

// Bytes no step reads as syntax: ASCII letters and digits, a few marks, and every byte of a
// UTF-8 sequence (accents, other scripts).
bool IsPlain(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         byte >= 0x80 || (c != '\0' && std::strchr("/._-+@%:=", c) != nullptr);
}

}  // namespace

// swaymsg joins its arguments into one command line. Sway turns each line break in it into ';'
// (so no path with one can be given), splits the line at unquoted ';' and ',' and then at blanks
// (quotes and a backslash keep them in a word, and stay in it), strips the quotes of a word that
// starts with one, replaces its $variables unless a backslash stands before the '$', and expands
// the background's words like a shell (wordexp) after putting a backslash between two blanks.
// So the word starts with the path's '/' (no quotes stripped) and holds no two blanks in a row;
// every byte a shell or sway could read as syntax is escaped the one way each step reads alike.
std::optional<std::string> SwayPathArgument(const std::string& absolute_path) {
  std::string word;
  for (const char c : absolute_path) {
    if (c == '\n') return std::nullopt;
    if (IsPlain(c)) {
      word += c;
    } else if (c == '\\') {
      word += "\"\\\\\"";  // "\\": an even run, so sway's escape ends with it
    } else if (c == '$' || c == ' ') {
      word += {'\\', c};  // a backslash keeps sway's variables off the '$' and the blank whole
    } else if (c == '\'') {
      word += "\"'\"";
    } else {
      word += {'\'', c, '\''};
    }
  }
  return word;
}

bool SwayWallpaper::CanShow(const std::string& absolute_path) const {
  return SwayPathArgument(absolute_path).has_value();
}

BackendResult SwayWallpaper::Set(const std::string& absolute_path, Layout layout) {
  // At login the variable may be set before sway has made its socket.
  if (!socket_.empty() && !IsSocket(socket_)) {
    return BackendResult::Missing("sway's socket " + socket_ + " does not exist");
  }
  const std::optional<std::string> path = SwayPathArgument(absolute_path);
  if (!path) {
    return BackendResult::Failed("sway cannot be given a path with a line break: " + absolute_path);
  }
  std::vector<std::string> argv = {"swaymsg"};
  if (!socket_.empty()) argv.insert(argv.end(), {"-s", socket_});
  argv.insert(argv.end(), {"output", "*", "bg", *path, LayoutWord(layout)});
  const CommandResult result = RunCommand(argv, time_limit_);
  if (Succeeded(result)) return BackendResult::Set();
  const std::string failure = "swaymsg failed (" + DescribeFailure(result) + ")";
  if (result.errors.find("Unable to connect") != std::string::npos) {
    return BackendResult::Missing(failure);
  }
  return BackendResult::Failed(failure);
}

}  // namespace vellumo
