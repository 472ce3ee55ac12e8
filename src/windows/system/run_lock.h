#pragma once

#include <windows.h>

namespace vellumo {

// One wallpaper change at a time: a named mutex, owned for the object's life. The system hands
// a mutex whose owner ended without releasing it (a killed run) to the next waiter, so a killed
// run never leaves it stuck.
class RunLock {
 public:
  // Per session: "Local\" names live in the logon session's own namespace, as does the desktop
  // whose wallpaper a run changes, and need no privilege. Another user's session can neither
  // see the name nor take it first to block our runs, as it could a "Global\" one.
  static constexpr const wchar_t* kName = L"Local\\Vellumo.Change";
  // A run normally takes a second or two, a folder tree on a slow or network drive longer; a
  // run still busy after half a minute is stuck, and the one waiting gives up rather than pile
  // up behind it.
  static constexpr DWORD kTimeoutMs = 30000;

  enum class State {
    kHeld,         // this run may change the wallpaper
    kBusy,         // another run held the mutex for the whole wait
    kUnavailable,  // no mutex could be made: nothing to wait for
  };

  RunLock(const wchar_t* name, DWORD timeout_ms);
  ~RunLock();
  RunLock(const RunLock&) = delete;
  RunLock& operator=(const RunLock&) = delete;

  State state() const { return state_; }

 private:
  HANDLE mutex_ = nullptr;
  State state_ = State::kUnavailable;
};

}  // namespace vellumo
