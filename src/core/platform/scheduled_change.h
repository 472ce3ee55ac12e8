#pragma once

#include <string>

namespace vellumo {

// The system's own scheduler starting "vellumo -next" every so often while the user is logged
// on. The program never stays resident to do it.
class ScheduledChange {
 public:
  virtual ~ScheduledChange() = default;

  // Empty when the system can start the program every so often; otherwise why it cannot, in
  // words for the user.
  virtual std::string Unavailable() = 0;
  // Starts the program every `minutes` from now on, replacing any schedule set before. Empty
  // on success, else why it failed.
  virtual std::string Set(int minutes) = 0;
  // Removes the schedule; none being there is no error.
  virtual void Remove() = 0;
  // A background run while a schedule is chosen: brings the schedule up to date with this
  // session where the system needs it.
  virtual void Refresh() {}
};

// For a system without a scheduler, and for runs that never show the settings window.
class NoScheduledChange : public ScheduledChange {
 public:
  std::string Unavailable() override { return "This system has no scheduler to start Vellumo."; }
  std::string Set(int) override { return Unavailable(); }
  void Remove() override {}
};

}  // namespace vellumo
