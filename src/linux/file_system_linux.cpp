#include "file_system_linux.h"

#include <dirent.h>
#include <fcntl.h>
#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <string_view>

namespace vellumo {
namespace {

bool IsHiddenName(std::string_view name) {
  return !name.empty() && name[0] == '.';
}

uint32_t AttributesOf(std::string_view name, mode_t mode, bool is_link) {
  uint32_t attributes = 0;
  if (IsHiddenName(name)) attributes |= attr::kHidden;
  if (is_link) return attributes | attr::kReparsePoint | (S_ISDIR(mode) ? attr::kDirectory : 0);
  if (S_ISDIR(mode)) {
    attributes |= attr::kDirectory;
    if ((mode & S_IWUSR) == 0) attributes |= attr::kReadOnly;
    return attributes;
  }
  if ((mode & S_IWUSR) == 0) attributes |= attr::kReadOnly;
  return attributes == 0 ? attr::kNormal : attributes;
}

// Attributes from the directory entry's type where that is enough; only folders (for their write
// bit) and entries of unknown type cost a stat.
uint32_t EntryAttributes(int folder_fd, const dirent& entry) {
  const std::string_view name = entry.d_name;
  switch (entry.d_type) {
    case DT_REG: {
      // The write bit only matters for folders; a read-only file is listed like any other.
      return IsHiddenName(name) ? attr::kHidden : attr::kNormal;
    }
    case DT_LNK:
      return AttributesOf(name, 0, true);
    case DT_DIR:
    case DT_UNKNOWN:
      break;
    default:
      return AttributesOf(name, 0, false) | attr::kSystem;  // devices, pipes, sockets
  }
  struct stat info;
  if (fstatat(folder_fd, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) return attr::kSystem;
  return AttributesOf(name, info.st_mode, S_ISLNK(info.st_mode));
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
  while (const dirent* entry = readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    entries.push_back({std::string(name), EntryAttributes(fd, *entry)});
  }
  return true;
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
  // Otherwise the path is a name pattern: anything it matches that is not hidden counts.
  glob_t matches{};
  const int result = glob(path.c_str(), GLOB_NOSORT, nullptr, &matches);
  bool found = false;
  for (size_t i = 0; result == 0 && i < matches.gl_pathc && !found; ++i) {
    const std::string_view match = matches.gl_pathv[i];
    const auto slash = match.rfind('/');
    found = !IsHiddenName(slash == match.npos ? match : match.substr(slash + 1));
  }
  globfree(&matches);
  return found;
}

}  // namespace vellumo
