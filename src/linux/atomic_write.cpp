#include "atomic_write.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/bitmap_file.h"

namespace vellumo {
namespace {

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = write(fd, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    text.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& target, std::string_view text,
                         const PrepareFile& prepare) {
  std::error_code error;
  std::filesystem::create_directories(target.parent_path(), error);
  std::string temp = target.string() + ".XXXXXX";
  // Close-on-exec: a program started meanwhile (a desktop command) must not hold the file open.
  const int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = !prepare || prepare(fd);
  ok = ok && WriteAll(fd, text) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (ok && ReplaceFile(temp, target)) return true;
  unlink(temp.c_str());
  return false;
}

}  // namespace vellumo
