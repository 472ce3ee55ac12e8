#pragma once

#include <string>

namespace vellumo {

// Where a run says what it could not do and why, one line at a time: standard error where the
// program has one, a log file where it has none.
class RunReport {
 public:
  virtual ~RunReport() = default;
  virtual void Say(const std::string& line) = 0;
};

// For runs nobody reads, and tests that do not listen.
class NoRunReport : public RunReport {
 public:
  void Say(const std::string&) override {}
};

}  // namespace vellumo
