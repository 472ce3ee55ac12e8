#pragma once

#include <chrono>
#include <string>

namespace vellumo {

// One wallpaper change at a time per user: an exclusive flock on a lock file, held for the
// object's life and released by the system however the process ends, so a killed run never
// leaves it stuck.
class RunLock {
 public:
  enum class State {
    kHeld,         // this run may change the wallpaper
    kBusy,         // another run held the lock for the whole wait
    kUnavailable,  // no lock file could be opened: nothing to wait for
  };

  // Waits up to `timeout` for the lock on `path`, created when missing.
  RunLock(const std::string& path, std::chrono::milliseconds timeout);
  ~RunLock();
  RunLock(const RunLock&) = delete;
  RunLock& operator=(const RunLock&) = delete;

  State state() const { return state_; }

 private:
  int fd_ = -1;
  State state_ = State::kUnavailable;
};

// $XDG_RUNTIME_DIR/vellumo-change.lock (per user, and gone at logout), else
// <data>/vellumo/change.lock.
std::string RunLockPath();

// How long a run waits for another one: 30 s, or $VELLUMO_LOCK_TIMEOUT_MS (for tests).
std::chrono::milliseconds RunLockTimeout();

}  // namespace vellumo
