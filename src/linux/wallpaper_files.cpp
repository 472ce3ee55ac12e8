#include "wallpaper_files.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <utility>

#include "platform/partial_file.h"

namespace fs = std::filesystem;

namespace vellumo {
namespace {

bool IsAsciiAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// "vellumo.png" as "vellumo" and ".png"; a name without extension has an empty one.
std::pair<std::string_view, std::string_view> SplitExtension(std::string_view name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return {name, {}};
  return {name.substr(0, dot), name.substr(dot)};
}

bool IsFreshName(std::string_view name, std::string_view place_name) {
  const auto [stem, extension] = SplitExtension(place_name);
  if (name.size() != stem.size() + 1 + kPartialSuffixLength + extension.size()) return false;
  if (!name.starts_with(stem) || !name.ends_with(extension)) return false;
  name = name.substr(stem.size(), 1 + kPartialSuffixLength);
  return name[0] == '-' && std::all_of(name.begin() + 1, name.end(), IsAsciiAlnum);
}

}  // namespace

std::string FreshWallpaperPath(const std::string& place, std::string_view suffix) {
  const fs::path path(place);
  const std::string file_name = path.filename().string();  // the views below point into it
  const auto [stem, extension] = SplitExtension(file_name);
  std::string name(stem);
  name += '-';
  name += suffix;
  name += extension;
  return (path.parent_path() / name).string();
}

std::string EarlierWallpaperName(std::string_view place_name) {
  return std::string(SplitExtension(place_name).first) + ".bmp";
}

bool IsWallpaperFileOf(std::string_view name, std::string_view place_name) {
  if (place_name.empty()) return false;
  return IsFreshName(name, place_name) || name == EarlierWallpaperName(place_name);
}

bool MoveToNewName(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  // Some file systems cannot refuse to replace in the same step. Holding the run lock, nothing
  // of ours can appear under the new name between the check and the rename.
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return false;
  struct stat status {};
  if (lstat(to.c_str(), &status) == 0 || errno != ENOENT) return false;
  return std::rename(from.c_str(), to.c_str()) == 0;
}

void RemoveEarlierWallpapers(const std::string& place, const std::string& keep) {
  const fs::path target(place);
  const std::string place_name = target.filename().string();
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::error_code error;
  fs::directory_iterator entries(folder, error);
  for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
    const fs::path& path = entries->path();
    if (!IsWallpaperFileOf(path.filename().string(), place_name)) continue;
    std::error_code ignored;
    // Ours are plain files; a link or a folder of the same name is someone else's.
    if (!entries->is_regular_file(ignored) || entries->is_symlink(ignored)) continue;
    if (path.lexically_normal() == fs::path(keep).lexically_normal()) continue;
    if (fs::equivalent(path, keep, ignored)) continue;
    fs::remove(path, ignored);
  }
}

}  // namespace vellumo
