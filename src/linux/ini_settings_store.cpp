#include "ini_settings_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <sstream>
#include <string_view>
#include <vector>

#include "platform/bitmap_file.h"
#include "platform/text.h"

namespace vellumo {
namespace {

constexpr std::string_view kSection = "Settings";

std::optional<std::string_view> SectionName(std::string_view line) {
  line = TrimBlanks(line);
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
  return TrimBlanks(line.substr(1, line.size() - 2));
}

// The key of a "key=value" line, or nothing for comments and other lines.
std::optional<std::string_view> KeyOf(std::string_view line) {
  const auto trimmed = TrimBlanks(line);
  if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#') return std::nullopt;
  const auto equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return TrimBlanks(line.substr(0, equals));
}

// The whole file: empty when there is none, nothing when it exists but cannot be read (a
// folder, no permission, an I/O error), which must never pass for an empty store.
std::optional<std::string> ReadText(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? std::optional<std::string>(std::string()) : std::nullopt;
  std::string text;
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      close(fd);
      return std::nullopt;
    }
    text.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  return text;
}

std::optional<std::vector<std::string>> ReadLines(const std::string& path) {
  const auto text = ReadText(path);
  if (!text) return std::nullopt;
  std::vector<std::string> lines;
  std::istringstream in(*text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
  }
  return lines;
}

// Where the new file goes: a settings file that is a link to one kept elsewhere (dotfiles under
// version control, say) stays a link, and its target gets the new text.
std::string WritePath(const std::string& path) {
  std::error_code error;
  const auto resolved = std::filesystem::canonical(path, error);
  return error ? path : resolved.string();
}

// Where `key` stands in [Settings], and where a new key would go.
struct Place {
  std::optional<size_t> key_line;
  std::optional<size_t> section_end;  // one past the section's last non-blank line
};

Place Find(const std::vector<std::string>& lines, std::string_view key) {
  Place place;
  bool inside = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (const auto section = SectionName(lines[i])) {
      inside = EqualsIgnoringCase(*section, kSection);
      if (inside && !place.section_end) place.section_end = i + 1;
      continue;
    }
    if (!inside) continue;
    if (!TrimBlanks(lines[i]).empty()) place.section_end = i + 1;
    const auto line_key = KeyOf(lines[i]);
    if (line_key && EqualsIgnoringCase(*line_key, key) && !place.key_line) place.key_line = i;
  }
  return place;
}

bool WriteAtomically(const std::string& path, const std::string& text) {
  const std::filesystem::path target(path);
  std::error_code error;
  std::filesystem::create_directories(target.parent_path(), error);
  std::string temp = path + ".XXXXXX";
  const int fd = mkstemp(temp.data());  // owner-only, as the settings should be
  if (fd < 0) return false;
  bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  ok = fsync(fd) == 0 && ok;
  ok = close(fd) == 0 && ok;
  if (ok && ReplaceFile(temp, target)) return true;
  unlink(temp.c_str());
  return false;
}

}  // namespace

std::optional<std::string> IniSettingsStore::Read(const std::string& key) {
  const auto lines = ReadLines(path_);
  if (!lines) return std::nullopt;
  const auto place = Find(*lines, key);
  if (!place.key_line) return std::nullopt;
  const std::string& line = (*lines)[*place.key_line];
  return line.substr(line.find('=') + 1);
}

bool IniSettingsStore::Write(const std::string& key, const std::string& value) {
  if (value.find_first_of("\r\n") != std::string::npos) return false;
  // Writing over a file that could not be read would keep only this one key.
  auto read = ReadLines(path_);
  if (!read) return false;
  auto& lines = *read;
  const auto place = Find(lines, key);
  std::string entry = key + "=" + value;
  if (place.key_line) {
    lines[*place.key_line] = std::move(entry);
  } else if (place.section_end) {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*place.section_end), std::move(entry));
  } else {
    if (!lines.empty() && !TrimBlanks(lines.back()).empty()) lines.emplace_back();
    std::string header("[");
    header.append(kSection).append("]");
    lines.push_back(std::move(header));
    lines.push_back(std::move(entry));
  }
  std::string text;
  for (const auto& line : lines) text += line + "\n";
  return WriteAtomically(WritePath(path_), text);
}

}  // namespace vellumo
