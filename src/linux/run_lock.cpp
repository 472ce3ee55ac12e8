#include "run_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "linux_paths.h"

namespace vellumo {
namespace {

// A run normally takes a second or two, a folder tree on a slow disk longer; a run still busy
// after half a minute is stuck, and the one waiting gives up rather than pile up behind it.
constexpr std::chrono::milliseconds kDefaultTimeout{30000};
constexpr std::chrono::milliseconds kPollInterval{25};

// flock has no time limit of its own: try, sleep a little, try again until the deadline.
bool LockWithin(int fd, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno != EWOULDBLOCK && errno != EINTR) return false;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kPollInterval);
  }
}

}  // namespace

RunLock::RunLock(const std::string& path, std::chrono::milliseconds timeout) {
  // Close-on-exec: a desktop command started during the run, living on, must not inherit it.
  fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd_ < 0) return;
  state_ = LockWithin(fd_, timeout) ? State::kHeld : State::kBusy;
}

RunLock::~RunLock() {
  if (fd_ >= 0) close(fd_);
}

std::string RunLockPath() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && runtime[0] == '/') return std::string(runtime) + "/vellumo-change.lock";
  const std::string folder = DataHome() + "/vellumo";
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return folder + "/change.lock";
}

std::chrono::milliseconds RunLockTimeout() {
  const char* text = std::getenv("VELLUMO_LOCK_TIMEOUT_MS");
  if (!text || !*text) return kDefaultTimeout;
  long long ms = 0;
  const char* end = text + std::char_traits<char>::length(text);
  const auto [at, error] = std::from_chars(text, end, ms);
  if (error != std::errc() || at != end || ms < 0) return kDefaultTimeout;
  return std::chrono::milliseconds(ms);
}

}  // namespace vellumo
