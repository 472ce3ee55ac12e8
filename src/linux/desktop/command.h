#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace vellumo {

struct CommandResult {
  // False when the program could not be started at all (not found, not executable).
  bool started = false;
  // The errno of the failed start.
  int start_error = 0;
  // The exit status, or -1 when a signal ended the program.
  int exit_code = -1;
  // True when the program was still running at the deadline and was killed.
  bool timed_out = false;
  std::string output;  // standard output
  std::string errors;  // standard error
};

// Runs `argv[0]` (looked up on PATH) with the given arguments and waits for it until `deadline`;
// a program still running then is killed together with every process it started. No shell is
// involved, so arguments reach the program byte for byte whatever quotes, spaces or `$` they hold.
CommandResult RunCommand(const std::vector<std::string>& argv,
                         std::chrono::steady_clock::time_point deadline);
// The same with a time limit counted from now.
inline CommandResult RunCommand(const std::vector<std::string>& argv,
                                std::chrono::milliseconds time_limit) {
  return RunCommand(argv, std::chrono::steady_clock::now() + time_limit);
}

// Exit status 0.
inline bool Succeeded(const CommandResult& result) {
  return result.started && !result.timed_out && result.exit_code == 0;
}

// "exit 1: first line of standard error", "killed by a signal", "no answer in time" or
// "not found", for messages.
std::string DescribeFailure(const CommandResult& result);

}  // namespace vellumo
