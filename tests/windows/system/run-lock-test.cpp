#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "run_lock.h"

namespace vellumo {
namespace {

// A name of the tests' own, so that a program running meanwhile is not held up. Each holder
// below runs on a thread of its own: a mutex lets the thread that owns it in again at once.
constexpr const wchar_t* kName = L"Local\\VellumoTests.Change";

TEST(RunLock, ASecondRunWaitsForTheFirstThenGivesUpOrGoesOn) {
  const HANDLE acquired = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread first([&] {
    const RunLock lock(kName, 0);
    if (lock.state() == RunLock::State::kHeld) SetEvent(acquired);
    WaitForSingleObject(release, 10000);
  });
  ASSERT_EQ(WaitForSingleObject(acquired, 10000), WAIT_OBJECT_0);

  const ULONGLONG start = GetTickCount64();
  EXPECT_EQ(RunLock(kName, 300).state(), RunLock::State::kBusy);
  EXPECT_GE(GetTickCount64() - start, 250u);  // the tick count moves in steps of ~16 ms

  SetEvent(release);
  first.join();
  EXPECT_EQ(RunLock(kName, 0).state(), RunLock::State::kHeld);
  CloseHandle(acquired);
  CloseHandle(release);
}

TEST(RunLock, ARunThatEndedWithoutLettingGoDoesNotBlockTheNext) {
  // Like a killed run: the owner ends and never releases (nor even closes) it.
  std::thread killed([] { new RunLock(kName, 0); });
  killed.join();
  EXPECT_EQ(RunLock(kName, 0).state(), RunLock::State::kHeld);
}

}  // namespace
}  // namespace vellumo
