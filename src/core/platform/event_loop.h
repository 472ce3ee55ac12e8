#pragma once

#include <chrono>

namespace vellumo {

// The one user-interface thread's message loop.
class EventLoop {
 public:
  virtual ~EventLoop() = default;

  // Lets pending window events (repaints, key presses, timer ticks) run once.
  virtual void Yield() = 0;

  // Lets window events run, as they come, for `time`: the pace of what is drawn frame by frame.
  // Without a window to show anything, it need not wait at all.
  virtual void Wait(std::chrono::milliseconds time) = 0;

  // Runs until no window is left.
  virtual void Run() = 0;

  // Ends the program at once with `exit_code`; no further code of the caller runs.
  [[noreturn]] virtual void EndNow(int exit_code) = 0;

  // Logical dots per inch of the screen, for the twips and HIMETRIC arithmetic.
  virtual int ScreenDpi() = 0;

  // The time now, for pacing what is drawn to the screen's frames.
  virtual std::chrono::steady_clock::time_point Now() { return std::chrono::steady_clock::now(); }
};

}  // namespace vellumo
