#include "ini_settings_store.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string_view>

#include "atomic_write.h"
#include "platform/text.h"

namespace vellumo {
namespace {

using Snapshot = IniSettingsStore::Snapshot;
using Version = IniSettingsStore::Version;

constexpr std::string_view kSection = "Settings";
constexpr std::string_view kBom = "\xEF\xBB\xBF";

// Reading and writing the file's text.

IniFile Parse(std::string_view text) {
  IniFile file;
  if (text.starts_with(kBom)) {
    file.bom = kBom;
    text.remove_prefix(kBom.size());
  }
  while (!text.empty()) {
    const auto newline = text.find('\n');
    IniLine line{std::string(text.substr(0, newline)), ""};
    if (newline != text.npos) {
      line.end = "\n";
      if (line.text.ends_with('\r')) {
        line.text.pop_back();
        line.end = "\r\n";
      }
    }
    text.remove_prefix(newline == text.npos ? text.size() : newline + 1);
    file.lines.push_back(std::move(line));
  }
  return file;
}

std::string Render(const IniFile& file) {
  std::string text = file.bom;
  for (const auto& line : file.lines) text.append(line.text).append(line.end);
  return text;
}

// The line break new lines get: the one the file already uses.
std::string LineBreak(const IniFile& file) {
  for (const auto& line : file.lines)
    if (!line.end.empty()) return line.end;
  return "\n";
}

// Values: plain where that reads back the same, else quoted with escapes (see the header).

bool ReadsBackPlain(std::string_view value) {
  if (value.find_first_of("\r\n") != value.npos) return false;
  return value.empty() || (value.front() != '"' && TrimBlanks(value).size() == value.size());
}

std::string Encoded(std::string_view value) {
  if (ReadsBackPlain(value)) return std::string(value);
  std::string out = "\"";
  for (const char c : value) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      if (c == '\\' || c == '"') out += '\\';
      out += c;
    }
  }
  return out + '"';
}

std::string Unescaped(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    const bool escape =
        text[i] == '\\' && (next == '\\' || next == '"' || next == 'n' || next == 'r');
    if (!escape) {
      out += text[i];
      continue;
    }
    out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    ++i;
  }
  return out;
}

std::string Decoded(std::string_view field) {
  field = TrimBlanks(field);
  if (field.size() < 2 || field.front() != '"' || field.back() != '"') return std::string(field);
  return Unescaped(field.substr(1, field.size() - 2));
}

// Sections and keys.

std::optional<std::string_view> SectionName(std::string_view line) {
  line = TrimBlanks(line);
  const auto close = line.find(']');
  if (line.empty() || line.front() != '[' || close == line.npos) return std::nullopt;
  const auto rest = TrimBlanks(line.substr(close + 1));
  if (!rest.empty() && rest.front() != ';' && rest.front() != '#') return std::nullopt;
  return TrimBlanks(line.substr(1, close - 1));
}

// A "key = value" line: its key, and where its value starts (after the blanks).
struct Entry {
  std::string_view key;
  size_t value_at = 0;
};

std::optional<Entry> EntryOf(std::string_view line) {
  const auto trimmed = TrimBlanks(line);
  if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') return std::nullopt;
  const auto equals = line.find('=');
  if (equals == line.npos) return std::nullopt;
  const auto key = TrimBlanks(line.substr(0, equals));
  if (key.empty()) return std::nullopt;
  return Entry{key, std::min(line.find_first_not_of(" \t", equals + 1), line.size())};
}

// Where `key` stands in [Settings], and where a new key would go: after the last key of the
// first [Settings] section, so that it stays clear of comments that lead into the next section.
struct Place {
  std::optional<size_t> line;
  size_t value_at = 0;
  std::optional<size_t> insert_at;
};

Place Find(const IniFile& file, std::string_view key) {
  Place place;
  bool inside = false;
  int sections = 0;
  for (size_t i = 0; i < file.lines.size(); ++i) {
    if (const auto section = SectionName(file.lines[i].text)) {
      inside = EqualsIgnoringCase(*section, kSection);
      if (inside && ++sections == 1) place.insert_at = i + 1;
      continue;
    }
    const auto entry = inside ? EntryOf(file.lines[i].text) : std::nullopt;
    if (!entry) continue;
    if (sections == 1) place.insert_at = i + 1;
    if (place.line || !EqualsIgnoringCase(entry->key, key)) continue;
    place.line = i;
    place.value_at = entry->value_at;
  }
  return place;
}

void InsertLine(IniFile& file, size_t at, std::string text) {
  const std::string end = LineBreak(file);
  if (at > 0 && file.lines[at - 1].end.empty()) file.lines[at - 1].end = end;
  file.lines.insert(file.lines.begin() + static_cast<std::ptrdiff_t>(at),
                    IniLine{std::move(text), end});
}

// Stores one key; false when the file already holds that value (the line is then kept as it
// was written, quotes and blanks included).
bool Set(IniFile& file, const std::string& key, const std::string& value) {
  const auto place = Find(file, key);
  if (place.line) {
    auto& text = file.lines[*place.line].text;
    if (Decoded(std::string_view(text).substr(place.value_at)) == value) return false;
    text = text.substr(0, place.value_at) + Encoded(value);  // keeps the key as written
    return true;
  }
  std::string line = key + "=" + Encoded(value);
  if (place.insert_at) {
    InsertLine(file, *place.insert_at, std::move(line));
    return true;
  }
  if (!file.lines.empty() && !TrimBlanks(file.lines.back().text).empty())
    InsertLine(file, file.lines.size(), "");
  std::string header = "[";
  header.append(kSection).append("]");  // appended: GCC 12 warns wrongly on `"[" + string`
  InsertLine(file, file.lines.size(), std::move(header));
  InsertLine(file, file.lines.size(), std::move(line));
  return true;
}

// The file on disk.

// The version at `path`: nothing when it cannot be looked at (a link loop, no permission on
// the folder), which must never pass for a missing file.
std::optional<Version> VersionAt(const std::string& path) {
  Version version;
  if (stat(path.c_str(), &version.info) == 0) {
    version.exists = true;
    return version;
  }
  return errno == ENOENT ? std::optional<Version>(Version{}) : std::nullopt;
}

bool ReadAll(int fd, std::string& text) {
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n == 0) return true;
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    text.append(buffer, static_cast<size_t>(n));
  }
}

// The file as it is now: empty when there is none, nothing when it exists but cannot be read.
// Only a plain file is read: a pipe or device in its place could hang the run.
std::optional<Snapshot> Load(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno == ENOENT ? std::optional<Snapshot>(Snapshot{}) : std::nullopt;
  Snapshot snapshot;
  std::string text;
  snapshot.version.exists = true;
  const bool ok = fstat(fd, &snapshot.version.info) == 0 &&
                  S_ISREG(snapshot.version.info.st_mode) && ReadAll(fd, text);
  close(fd);
  if (!ok) return std::nullopt;
  snapshot.file = Parse(text);
  return snapshot;
}

// Where the new file goes: a link (to dotfiles under version control, say) stays a link, and the
// file it leads to is replaced, even one that does not exist yet.
std::filesystem::path ReplacedPath(std::filesystem::path path) {
  std::error_code error;
  for (int hops = 0; hops < 40 && std::filesystem::is_symlink(path, error); ++hops) {
    const auto target = std::filesystem::read_symlink(path, error);
    if (error) break;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return path;
}

// Best effort: a file system without owners or modes still gets its settings written. Only
// root may give a file to another user; the owner goes first as it clears set-id bits.
bool KeepOwnerAndMode(int fd, const Version& old) {
  if (!old.exists) return true;  // a new file stays owner-only, as mkstemp makes it
  if (fchown(fd, old.info.st_uid, old.info.st_gid) != 0) {
    // Not allowed: the file becomes ours, as any rewrite would make it.
  }
  fchmod(fd, old.info.st_mode & 07777);
  return true;
}

}  // namespace

bool IniSettingsStore::Version::operator==(const Version& other) const {
  const auto same_time = [](const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
  };
  if (exists != other.exists) return false;
  if (!exists) return true;
  const auto &a = info, &b = other.info;
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
         same_time(a.st_mtim, b.st_mtim) && same_time(a.st_ctim, b.st_ctim);
}

// Reads reuse the file read last while the file on disk is still that version: one stat per
// key, one open per load, and a change made by anyone in between is still seen.
bool IniSettingsStore::Refresh() {
  const auto now = VersionAt(path_);
  if (!now) cache_.reset();
  if (!now || (cache_ && cache_->version == *now)) return cache_.has_value();
  cache_ = Load(path_);
  return cache_.has_value();
}

std::optional<std::string> IniSettingsStore::Read(const std::string& key) {
  if (!Refresh()) return std::nullopt;
  const auto place = Find(cache_->file, key);
  if (!place.line) return std::nullopt;
  return Decoded(std::string_view(cache_->file.lines[*place.line].text).substr(place.value_at));
}

bool IniSettingsStore::Write(const std::string& key, const std::string& value) {
  return WriteAll({{key, value}});
}

bool IniSettingsStore::WriteAll(const SettingsValues& values) {
  // From the file as it is now, never a cached reading: an edit made since must not be lost.
  // Writing over a file that could not be read would keep only these keys.
  auto snapshot = Load(path_);
  if (!snapshot) return false;
  bool changed = false;
  for (const auto& [key, value] : values) changed = Set(snapshot->file, key, value) || changed;
  if (!changed) {
    cache_ = std::move(snapshot);
    return true;
  }
  cache_.reset();
  const Version& old = snapshot->version;
  return WriteFileAtomically(ReplacedPath(path_), Render(snapshot->file),
                             [&old](int fd) { return KeepOwnerAndMode(fd, old); });
}

}  // namespace vellumo
