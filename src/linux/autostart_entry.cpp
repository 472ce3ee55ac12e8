#include "autostart_entry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <utility>

#include "linux_paths.h"
#include "platform/bitmap_file.h"
#include "platform/text.h"

namespace vellumo {
namespace {

namespace fs = std::filesystem;

// Characters that make the launcher need quotes around an argument.
constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";

// Written with a backslash inside quotes.
bool EscapedInQuotes(char c) {
  return c == '"' || c == '`' || c == '$' || c == '\\';
}

// The file format's own escapes for a string value; a newline cannot stand in a value at all.
std::string FileEscaped(std::string_view value) {
  std::string out;
  for (const char c : value) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      out += c;
    }
  }
  return out;
}

std::string_view GroupName(std::string_view line) {
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') return {};
  return line.substr(1, line.size() - 2);
}

bool IsFalse(std::string_view value) {
  return EqualsIgnoringCase(TrimBlanks(value), "false");
}

bool IsTrue(std::string_view value) {
  return EqualsIgnoringCase(TrimBlanks(value), "true");
}

// True when `key = value` turns the entry off.
bool DisablesEntry(std::string_view key, std::string_view value) {
  if (key == "Hidden") return IsTrue(value);
  constexpr std::string_view kEnabled = "-autostart-enabled";
  const bool enabled_key = key.size() > kEnabled.size() && key.starts_with("X-") &&
                           EqualsIgnoringCase(key.substr(key.size() - kEnabled.size()), kEnabled);
  return enabled_key && IsFalse(value);
}

}  // namespace

// A desktop or a service manager reading the folder sees the old file or the new one, never
// half of one.
bool WriteAtomically(const std::string& target, std::string_view text) {
  std::error_code error;
  fs::create_directories(fs::path(target).parent_path(), error);
  std::string temp = target + ".XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = fchmod(fd, 0644) == 0;
  for (size_t done = 0; ok && done < text.size();) {
    const ssize_t written = write(fd, text.data() + done, text.size() - done);
    ok = written > 0;
    if (ok) done += static_cast<size_t>(written);
  }
  ok = fsync(fd) == 0 && ok;
  ok = close(fd) == 0 && ok;
  if (ok && ReplaceFile(temp, target)) return true;
  std::remove(temp.c_str());
  return false;
}

std::string ExecArgument(std::string_view argument) {
  std::string quoted;
  const bool needs_quotes = argument.empty() || argument.find_first_of(kReserved) != argument.npos;
  if (needs_quotes) quoted += '"';
  for (const char c : argument) {
    if (c == '%') {
      quoted += "%%";
      continue;
    }
    if (needs_quotes && EscapedInQuotes(c)) quoted += '\\';
    quoted += c;
  }
  if (needs_quotes) quoted += '"';
  return FileEscaped(quoted);
}

std::string AutostartEntryText(std::string_view exe_path) {
  constexpr std::string_view kAppId = VELLUMO_APP_ID;
  std::string text =
      "[Desktop Entry]\n"
      "Type=Application\n"
      "Name=Vellumo\n"
      "Comment=Changes the desktop wallpaper at each login\n";
  text.append("Icon=").append(kAppId).append("\n");
  // Desktops skip an entry whose program is gone (uninstalled), rather than fail at each login.
  text.append("TryExec=").append(FileEscaped(exe_path)).append("\n");
  text.append("Exec=").append(ExecArgument(exe_path)).append(" -next\n");
  text.append("Terminal=false\nX-GNOME-Autostart-enabled=true\n");
  return text;
}

bool IsAutostartEnabled(std::string_view entry_text) {
  bool in_entry = false;
  while (!entry_text.empty()) {
    const auto newline = entry_text.find('\n');
    std::string_view line = entry_text.substr(0, newline);
    entry_text.remove_prefix(newline == entry_text.npos ? entry_text.size() : newline + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    line = TrimBlanks(line);
    if (line.starts_with('[')) {
      in_entry = GroupName(line) == "Desktop Entry";
      continue;
    }
    const auto equals = line.find('=');
    if (!in_entry || line.starts_with('#') || equals == line.npos) continue;
    if (DisablesEntry(TrimBlanks(line.substr(0, equals)), line.substr(equals + 1))) return false;
  }
  return true;
}

AutostartRunAtLogon::AutostartRunAtLogon()
    : AutostartRunAtLogon(ConfigHome() + "/autostart/vellumo.desktop", ExePath()) {}

AutostartRunAtLogon::AutostartRunAtLogon(std::string entry_path, std::string exe_path)
    : entry_path_(std::move(entry_path)), exe_path_(std::move(exe_path)) {}

bool AutostartRunAtLogon::Is_Startup_Set() {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(entry_path_.c_str(), "rb"),
                                                       &std::fclose);
  if (!file) {
    std::error_code error;
    // There but unreadable: it still exists, and the desktop may well read it.
    return fs::exists(entry_path_, error);
  }
  // Real entries are a few hundred bytes; a huge file is read no further than this.
  constexpr size_t kMaxEntryBytes = 1 << 20;
  std::string text;
  char buffer[4096];
  for (size_t got; text.size() < kMaxEntryBytes &&
                   (got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;)
    text.append(buffer, got);
  return IsAutostartEnabled(text);
}

void AutostartRunAtLogon::Set_Startup(bool on) {
  if (!on) {
    std::remove(entry_path_.c_str());
    return;
  }
  // Without a known program there is nothing the entry could start.
  if (exe_path_.empty()) return;
  WriteAtomically(entry_path_, AutostartEntryText(exe_path_));
}

}  // namespace vellumo
