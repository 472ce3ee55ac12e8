#include "file_system_linux.h"

#include <dirent.h>
#include <fcntl.h>
#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>
#include <string_view>

namespace vellumo {
namespace {

bool IsHiddenName(std::string_view name) {
  return !name.empty() && name[0] == '.';
}

uint32_t HiddenBit(std::string_view name) {
  return IsHiddenName(name) ? attr::kHidden : 0;
}

// A folder without the owner's write bit is read-only; for files the bit does not matter, a
// read-only picture is listed like any other.
uint32_t AttributesOf(std::string_view name, mode_t mode) {
  const uint32_t hidden = HiddenBit(name);
  if (S_ISDIR(mode)) {
    return hidden | attr::kDirectory | ((mode & S_IWUSR) == 0 ? attr::kReadOnly : 0);
  }
  if (!S_ISREG(mode)) return hidden | attr::kSystem;  // devices, pipes, sockets
  return hidden == 0 ? attr::kNormal : hidden;
}

// A link is described by what it leads to, so a link to a pipe or a device is never opened as a
// picture and a link to a folder is never listed; it is never a plain folder, so the search does
// not follow it.
uint32_t LinkAttributes(int folder_fd, const char* name) {
  const uint32_t link = HiddenBit(name) | attr::kReparsePoint;
  struct stat target;
  if (fstatat(folder_fd, name, &target, 0) != 0) return link | attr::kSystem;  // dangling
  if (S_ISREG(target.st_mode)) return link | attr::kNormal;
  if (S_ISDIR(target.st_mode)) return link | attr::kDirectory;
  return link | attr::kSystem;
}

// Attributes from the directory entry's type where that is enough; folders (for their write
// bit), links and entries of unknown type cost a stat.
uint32_t EntryAttributes(int folder_fd, const dirent& entry) {
  const std::string_view name = entry.d_name;
  switch (entry.d_type) {
    case DT_REG:
      return AttributesOf(name, S_IFREG);
    case DT_LNK:
      return LinkAttributes(folder_fd, entry.d_name);
    case DT_DIR:
    case DT_UNKNOWN:
      break;
    default:
      return HiddenBit(name) | attr::kSystem;  // devices, pipes, sockets
  }
  struct stat info;
  if (fstatat(folder_fd, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) return attr::kSystem;
  if (S_ISLNK(info.st_mode)) return LinkAttributes(folder_fd, entry.d_name);
  return AttributesOf(name, info.st_mode);
}

// Only '*' and '?' are wildcards in a stored path; brackets and backslashes are plain
// characters of a name such as "Wallpapers [4K]".
bool HasWildcard(std::string_view path) {
  return path.find_first_of("*?") != std::string_view::npos;
}

std::string EscapeForGlob(std::string_view path) {
  std::string escaped;
  escaped.reserve(path.size());
  for (const char c : path) {
    if (c == '[' || c == ']' || c == '\\') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

std::string_view LastName(std::string_view path) {
  const auto slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool AnyVisibleMatch(const std::string& pattern) {
  glob_t matches{};
  const int result = glob(EscapeForGlob(pattern).c_str(), GLOB_NOSORT, nullptr, &matches);
  bool found = false;
  for (size_t i = 0; result == 0 && i < matches.gl_pathc && !found; ++i) {
    found = !IsHiddenName(LastName(matches.gl_pathv[i]));
  }
  globfree(&matches);
  return found;
}

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

}  // namespace

bool LinuxFileSystem::List(const std::string& folder, std::vector<DirEntry>& entries) {
  if (folder.empty()) return false;
  std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
  if (!dir) return false;
  const int fd = dirfd(dir.get());
  for (;;) {
    errno = 0;  // readdir reports an error only through errno
    const dirent* entry = readdir(dir.get());
    if (!entry) return errno == 0;  // a failed read is not a complete listing
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    entries.push_back({std::string(name), EntryAttributes(fd, *entry)});
  }
}

bool LinuxFileSystem::FileExists(const std::string& path) {
  struct stat info;
  return !path.empty() && stat(path.c_str(), &info) == 0;
}

bool LinuxFileSystem::FolderExists(const std::string& path) {
  if (path.empty()) return false;
  // A trailing separator names the folder's contents, which always include "." for a folder.
  if (path.back() == '/') {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  }
  if (HasWildcard(path)) return AnyVisibleMatch(path);
  // A plain name: it exists and is not hidden.
  struct stat info;
  return lstat(path.c_str(), &info) == 0 && !IsHiddenName(LastName(path));
}

}  // namespace vellumo
