#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace vellumo {

struct ChildWorkResult {
  bool finished = false;   // false: still running at the time limit, and killed
  bool succeeded = false;  // what `work` returned
  std::string text;        // what `work` wrote into its text
};

// Runs `work` in a child process and waits for it for at most `time_limit`. For work that may
// block without a way to time it out (a library call waiting on a server that stopped
// answering): the child is killed at the limit, with anything it started.
ChildWorkResult RunInChild(const std::function<bool(std::string& text)>& work,
                           std::chrono::milliseconds time_limit);

}  // namespace vellumo
