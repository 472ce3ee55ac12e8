#include "partial_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/partial_file.h"
#include "wallpaper_files.h"

namespace fs = std::filesystem;

namespace vellumo {
namespace {

// mkstemp makes the file private; the bitmap gets the usual mode for new files instead.
void GiveUsualMode(int fd) {
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
}

// A cleanup in another process may have taken the file between its creation and our lock.
bool StillLinked(int fd) {
  struct stat status {};
  return fstat(fd, &status) == 0 && status.st_nlink > 0;
}

// Removes one left-over unless a writer still holds it. Never follows a link: ours are plain
// files.
void RemoveIfAbandoned(const fs::path& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return;
  struct stat status {};
  if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0)
    unlink(path.c_str());
  close(fd);
}

}  // namespace

PartialFile::PartialFile(const std::string& bitmap) {
  const fs::path target(bitmap);
  const std::string name =
      (target.parent_path() / PartialFileName(target.filename().string(), "XXXXXX")).string();
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::string path = name;
    const int fd = mkostemp(path.data(), O_CLOEXEC);
    if (fd < 0) {
      error_ = errno;
      return;
    }
    if (flock(fd, LOCK_SH) == 0 && StillLinked(fd)) {
      GiveUsualMode(fd);
      path_ = std::move(path);
      fd_ = fd;
      return;
    }
    close(fd);
  }
}

PartialFile::~PartialFile() {
  if (fd_ >= 0) close(fd_);
}

std::string PartialFile::suffix() const {
  if (path_.size() < kPartialSuffixLength) return {};
  return path_.substr(path_.size() - kPartialSuffixLength);
}

void PartialFile::Discard() {
  if (!path_.empty()) unlink(path_.c_str());
}

void RemoveStalePartials(const std::string& bitmap) {
  const fs::path target(bitmap);
  const std::string bitmap_name = target.filename().string();
  if (bitmap_name.empty()) return;
  const std::string earlier_name = EarlierWallpaperName(bitmap_name);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::error_code error;
  fs::directory_iterator entries(folder, error);
  for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
    const std::string name = entries->path().filename().string();
    if (IsPartialFileOf(name, bitmap_name) || IsPartialFileOf(name, earlier_name))
      RemoveIfAbandoned(entries->path());
  }
}

}  // namespace vellumo
