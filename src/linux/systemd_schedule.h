#pragma once

#include <string>
#include <string_view>

#include "platform/scheduled_change.h"

namespace vellumo {

inline constexpr char kNextService[] = "vellumo-next.service";
inline constexpr char kNextTimer[] = "vellumo-next.timer";

// Whether systemd starts a program at `path`: not one whose path holds a quote, a backslash or
// a control character, however it is written.
bool SystemdCanStart(std::string_view path);
// The program's path as a unit's ExecStart names it, read back byte for byte: in double quotes,
// "%%" for "%" (a specifier otherwise), bytes outside ASCII as "\xNN" (the file is read as
// UTF-8, and a name in another encoding is written only this way).
std::string SystemdExecPath(std::string_view path);

// The oneshot service that runs `exe_path -next`, and the timer that starts it every `minutes`,
// the first time one interval after it starts (at login, or when the interval is chosen).
std::string NextServiceText(std::string_view exe_path);
std::string NextTimerText(int minutes);

// True when /proc/self/cgroup's `cgroups` put this process in the timer's own service: a timed
// run, started with the environment the user manager holds.
bool IsTimedRun(std::string_view cgroups);

// A change every so often through systemd's user manager: the two units in the user's unit
// folder, enabled so that the timer starts again at each login, and started.
class SystemdScheduledChange : public ScheduledChange {
 public:
  // $XDG_CONFIG_HOME/systemd/user, the running program, $XDG_RUNTIME_DIR.
  SystemdScheduledChange();
  SystemdScheduledChange(std::string unit_folder, std::string exe_path, std::string runtime_folder);

  // The manager runs when its private socket is in the session's runtime folder.
  std::string Unavailable() override;
  std::string Set(int minutes) override;
  // Stops and disables the timer and removes both units. A change under way finishes.
  void Remove() override;
  // Hands the user manager this session's display, desktop and bus, unless this is a timed run
  // or a run without a display (a console's would take the desktop's away).
  void Refresh() override;

 private:
  std::string UnitPath(const char* unit) const { return unit_folder_ + "/" + unit; }
  std::string WantsLink() const { return unit_folder_ + "/timers.target.wants/" + kNextTimer; }
  bool HasUnits() const;

  std::string unit_folder_;
  std::string exe_path_;
  std::string runtime_folder_;
};

}  // namespace vellumo
