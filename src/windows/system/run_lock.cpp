#include "run_lock.h"

namespace vellumo {

RunLock::RunLock(const wchar_t* name, DWORD timeout_ms) {
  mutex_ = CreateMutexW(nullptr, FALSE, name);
  if (mutex_ == nullptr) return;
  switch (WaitForSingleObject(mutex_, timeout_ms)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:  // its owner was killed: ours now, and its partial files stale
      state_ = State::kHeld;
      break;
    case WAIT_TIMEOUT:
      state_ = State::kBusy;
      break;
    default:
      break;
  }
}

RunLock::~RunLock() {
  if (state_ == State::kHeld) ReleaseMutex(mutex_);
  if (mutex_ != nullptr) CloseHandle(mutex_);
}

}  // namespace vellumo
