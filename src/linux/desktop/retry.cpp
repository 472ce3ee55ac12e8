#include "retry.h"

#include <algorithm>
#include <thread>

namespace vellumo {

BackendResult SetWithRetry(const std::function<BackendResult()>& attempt, const RetryPolicy& policy,
                           const std::function<void(const std::string&)>& on_retry) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point give_up = Clock::now() + policy.total;
  std::chrono::milliseconds pause = policy.first_pause;
  for (;;) {
    BackendResult result = attempt();
    if (result.outcome != BackendResult::Outcome::kServiceMissing) return result;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(give_up - Clock::now());
    if (left <= std::chrono::milliseconds::zero()) return result;
    if (on_retry) on_retry(result.failure);
    std::this_thread::sleep_for(std::min(pause, left));
    pause = std::min(pause * 2, policy.longest_pause);
  }
}

}  // namespace vellumo
