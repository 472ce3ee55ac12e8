#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "wallpaper_backend.h"

namespace vellumo {

// How long to keep trying while a desktop's service is missing: at login an autostarted run may
// come before the desktop has put its service up.
struct RetryPolicy {
  std::chrono::milliseconds total{20'000};         // the last attempt starts by then
  std::chrono::milliseconds first_pause{500};      // doubled after every attempt...
  std::chrono::milliseconds longest_pause{4'000};  // ...up to this
};

// Runs `attempt` until it sets the wallpaper or fails for good, or until the policy's time is
// up; returns the last result. `on_retry` hears why each retry was needed.
BackendResult SetWithRetry(const std::function<BackendResult()>& attempt, const RetryPolicy& policy,
                           const std::function<void(const std::string&)>& on_retry = {});

}  // namespace vellumo
