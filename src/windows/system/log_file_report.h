#pragma once

#include <cstdint>
#include <string>

#include "platform/run_report.h"

namespace vellumo {

// A program without a console has no standard error: what a run could not do goes to a log
// file instead, one line each, after the local date and time. The file is created (with its
// folder) only when there is something to say, and kept to at most kMaxLogBytes: past that
// only the newest half stays, from a line's start. A log that cannot be written is no reason
// to fail a run: nothing is said then.
class LogFileReport : public RunReport {
 public:
  static constexpr int64_t kMaxLogBytes = 64 * 1024;

  explicit LogFileReport(std::string path) : path_(std::move(path)) {}

  void Say(const std::string& line) override;

 private:
  std::string path_;  // UTF-8; empty: nowhere to write
};

}  // namespace vellumo
