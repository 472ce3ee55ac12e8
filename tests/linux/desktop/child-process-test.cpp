#include "child_process.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>

#include "child_work.h"

namespace vellumo {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Wait = std::optional<int> (*)(pid_t, Clock::time_point);

// A child in a process group of its own that sleeps `delay`, then exits with `code`, or is
// ended by a signal when `code` is negative.
pid_t StartChild(std::chrono::milliseconds delay, int code) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  setpgid(0, 0);
  usleep(static_cast<useconds_t>(std::chrono::microseconds(delay).count()));
  if (code < 0) raise(SIGKILL);
  _exit(code);
}

// The pidfd wait and the fallback for kernels without one answer alike.
class WaitForExitTest : public testing::TestWithParam<Wait> {};

TEST_P(WaitForExitTest, GivesTheExitStatusOrNothingAtTheDeadline) {
  const Wait wait = GetParam();
  EXPECT_EQ(wait(StartChild(20ms, 3), Clock::now() + 10s), 3);
  EXPECT_EQ(wait(StartChild(0ms, 0), Clock::now() + 10s), 0) << "ended before the wait began";
  EXPECT_EQ(wait(StartChild(0ms, -1), Clock::now() + 10s), -1) << "ended by a signal";

  const pid_t sleeper = StartChild(30s, 0);
  const auto start = Clock::now();
  EXPECT_EQ(wait(sleeper, start + 200ms), std::nullopt);
  EXPECT_GE(Clock::now() - start, 200ms);
  EXPECT_LT(Clock::now() - start, 5s);
  KillProcessGroup(sleeper);
  EXPECT_EQ(kill(sleeper, 0), -1) << "killed and reaped";
}

INSTANTIATE_TEST_SUITE_P(ChildProcess, WaitForExitTest,
                         testing::Values(&WaitForExit, &WaitForExitPolling));

TEST(RunInChildTest, GivesTheWorksTextOrKillsItAtTheTimeLimit) {
  const ChildWorkResult done = RunInChild(
      [](std::string& text) {
        text = "from the child";
        return true;
      },
      10s);
  EXPECT_TRUE(done.finished);
  EXPECT_TRUE(done.succeeded);
  EXPECT_EQ(done.text, "from the child");

  const auto start = Clock::now();
  const ChildWorkResult hung = RunInChild(
      [](std::string& text) {
        text = "never sent";
        pause();
        return true;
      },
      200ms);
  EXPECT_FALSE(hung.finished);
  EXPECT_FALSE(hung.succeeded);
  EXPECT_LT(Clock::now() - start, 5s);
}

}  // namespace
}  // namespace vellumo
