#pragma once

#include <string>

#include "platform/scheduled_change.h"

namespace vellumo {

// The repetition of a task every `minutes`, as the Task Scheduler writes it: "PT15M", "PT1H",
// "PT6H", "P1D".
std::wstring RepetitionInterval(int minutes);

// The task that runs `exe_path` -next every `minutes` from `start` (local time, as
// "2030-01-31T12:00:00"): the quoted program with the user's own rights (the least privilege),
// only while the user is logged on, not woken from sleep, not made up later, not started again
// while one runs, and on battery as on mains (the scheduler's own default skips every change
// of a laptop on battery). A run that never ended is stopped after five minutes.
std::wstring TaskXml(int minutes, const std::string& exe_path, const std::wstring& start);

// A change every so often through the Task Scheduler (2.0, its COM interface): a task of the
// current user in the scheduler's root folder, registered from its definition's XML, whose time
// trigger starts one interval from now and repeats at the interval. No administrator is needed.
class TaskSchedulerChange : public ScheduledChange {
 public:
  static constexpr const char* kTaskName = "Vellumo";

  // The task "Vellumo" for the running program.
  TaskSchedulerChange();
  // Another task name and program (UTF-8), for tests.
  TaskSchedulerChange(std::string task_name, std::string exe_path);

  std::string Unavailable() override;
  std::string Set(int minutes) override;
  void Remove() override;

 private:
  std::string task_name_;
  std::string exe_path_;
};

}  // namespace vellumo
