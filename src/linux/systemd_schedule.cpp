#include "systemd_schedule.h"

#include <sys/stat.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

#include "atomic_write.h"
#include "autostart_entry.h"
#include "desktop/command.h"
#include "linux_paths.h"

namespace vellumo {
namespace {

constexpr auto kCommandTime = std::chrono::seconds(10);

// What the desktop back-ends (and X itself) read to find the desktop and reach it. The user
// manager starts services with its own environment, which holds none of them until a session
// hands them over.
constexpr std::array<const char*, 8> kSessionVariables{"DISPLAY",
                                                       "WAYLAND_DISPLAY",
                                                       "XAUTHORITY",
                                                       "XDG_CURRENT_DESKTOP",
                                                       "DESKTOP_SESSION",
                                                       "SWAYSOCK",
                                                       "HYPRLAND_INSTANCE_SIGNATURE",
                                                       "DBUS_SESSION_BUS_ADDRESS"};

std::string Hex(unsigned char c) {
  constexpr char kDigits[] = "0123456789abcdef";
  return {'\\', 'x', kDigits[c >> 4], kDigits[c & 15]};
}

// Empty when `systemctl --user arguments...` succeeded, else the command and why it failed.
std::string Systemctl(std::vector<std::string> arguments) {
  std::vector<std::string> argv{"systemctl", "--user"};
  argv.insert(argv.end(), std::make_move_iterator(arguments.begin()),
              std::make_move_iterator(arguments.end()));
  const CommandResult result = RunCommand(argv, kCommandTime);
  if (Succeeded(result)) return {};
  std::string words;
  for (const std::string& word : argv) words += (words.empty() ? "" : " ") + word;
  return words + ": " + DescribeFailure(result);
}

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

// The session's variables into the user manager, and those the session lacks out of it: a
// WAYLAND_DISPLAY or SWAYSOCK left from an earlier session would send a run to a desktop that
// is gone. The bus stays: without it every other service of the user would lose theirs.
std::string ShareSession() {
  std::vector<std::string> import{"import-environment"};
  std::vector<std::string> unset{"unset-environment"};
  for (const char* name : kSessionVariables) {
    if (IsSet(name)) {
      import.emplace_back(name);
    } else if (std::string_view(name) != "DBUS_SESSION_BUS_ADDRESS") {
      unset.emplace_back(name);
    }
  }
  if (import.size() > 1)
    if (std::string failure = Systemctl(import); !failure.empty()) return failure;
  return unset.size() > 1 ? Systemctl(unset) : std::string();
}

bool Exists(const std::string& path) {
  struct stat status {};
  return lstat(path.c_str(), &status) == 0;
}

bool IsSocket(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISSOCK(status.st_mode);
}

std::string ReadCgroups() {
  std::ifstream file("/proc/self/cgroup");
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace

bool SystemdCanStart(std::string_view path) {
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f || c == '"' || c == '\'' || c == '\\') return false;
  }
  return !path.empty();
}

std::string SystemdExecPath(std::string_view path) {
  std::string quoted = "\"";
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '%') {
      quoted += "%%";
    } else if (byte >= 0x80) {
      quoted += Hex(byte);
    } else {
      quoted += c;
    }
  }
  return quoted + '"';
}

std::string NextServiceText(std::string_view exe_path) {
  std::string text =
      "# Written by Vellumo's settings window, removed when its Startup button is released.\n"
      "[Unit]\n"
      "Description=Vellumo: the next wallpaper\n"
      "\n"
      "[Service]\n"
      "Type=oneshot\n";
  text.append("ExecStart=").append(SystemdExecPath(exe_path)).append(" -next\n");
  // A run that never ended would hold back every later one.
  text.append("TimeoutStartSec=5min\n");
  return text;
}

std::string NextTimerText(int minutes) {
  const std::string interval = std::to_string(minutes) + "min";
  std::string text =
      "# Written by Vellumo's settings window, removed when its Startup button is released.\n"
      "[Unit]\n";
  text.append("Description=Vellumo: a new wallpaper every ")
      .append(std::to_string(minutes))
      .append(" minutes\n\n[Timer]\n");
  // One interval after the timer starts (at login, or when the interval is chosen), then one
  // interval after each change; changes missed while logged off are not made up.
  text.append("OnActiveSec=").append(interval).append("\n");
  text.append("OnUnitActiveSec=").append(interval).append("\n");
  text.append("Persistent=false\n\n[Install]\nWantedBy=timers.target\n");
  return text;
}

bool IsTimedRun(std::string_view cgroups) {
  const std::string unit = std::string("/") + kNextService;
  for (size_t at = cgroups.find(unit); at != cgroups.npos; at = cgroups.find(unit, at + 1)) {
    const size_t end = at + unit.size();
    if (end == cgroups.size() || cgroups[end] == '\n' || cgroups[end] == '/') return true;
  }
  return false;
}

SystemdScheduledChange::SystemdScheduledChange()
    : SystemdScheduledChange(ConfigHome() + "/systemd/user", ExePath(),
                             IsSet("XDG_RUNTIME_DIR") ? std::getenv("XDG_RUNTIME_DIR") : "") {}

SystemdScheduledChange::SystemdScheduledChange(std::string unit_folder, std::string exe_path,
                                               std::string runtime_folder)
    : unit_folder_(std::move(unit_folder)),
      exe_path_(std::move(exe_path)),
      runtime_folder_(std::move(runtime_folder)) {}

std::string SystemdScheduledChange::Unavailable() {
  if (exe_path_.empty()) return "The program cannot find its own path to have it started.";
  if (!SystemdCanStart(exe_path_)) {
    return "systemd cannot start a program from a folder whose name holds a quote, a backslash "
           "or a line break.";
  }
  if (!runtime_folder_.empty() && IsSocket(runtime_folder_ + "/systemd/private")) return {};
  return "Needs systemd's user manager, which does not run in this session.";
}

std::string SystemdScheduledChange::Set(int minutes) {
  if (std::string why = Unavailable(); !why.empty()) return why;
  for (const auto& [unit, text] : {std::pair{kNextService, NextServiceText(exe_path_)},
                                   std::pair{kNextTimer, NextTimerText(minutes)}}) {
    // Read by the user manager, which runs as the user: the usual mode of a unit file.
    const auto readable = [](int fd) { return fchmod(fd, 0644) == 0; };
    if (!WriteFileAtomically(UnitPath(unit), text, readable))
      return "Cannot write " + UnitPath(unit) + ".";
  }
  if (std::string failure = ShareSession(); !failure.empty()) return failure;
  for (const char* verb : {"daemon-reload", "enable", "restart"}) {
    std::vector<std::string> arguments{verb};
    if (arguments[0] != "daemon-reload") arguments.emplace_back(kNextTimer);
    if (std::string failure = Systemctl(arguments); !failure.empty()) return failure;
  }
  return {};
}

bool SystemdScheduledChange::HasUnits() const {
  return Exists(UnitPath(kNextService)) || Exists(UnitPath(kNextTimer)) || Exists(WantsLink());
}

void SystemdScheduledChange::Remove() {
  if (!HasUnits()) return;
  // The service is left alone: stopping it would kill a change half written.
  const bool manager = Unavailable().empty();
  if (manager) Systemctl({"disable", "--now", kNextTimer});
  // Whatever the manager could not take away (it may not run at all).
  for (const std::string& path : {WantsLink(), UnitPath(kNextTimer), UnitPath(kNextService)})
    std::remove(path.c_str());
  if (!manager) return;
  Systemctl({"daemon-reload"});
  // A unit that failed stays listed until reset.
  Systemctl({"reset-failed", kNextService, kNextTimer});
}

void SystemdScheduledChange::Refresh() {
  if (!IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY")) return;
  if (!HasUnits() || !Unavailable().empty() || IsTimedRun(ReadCgroups())) return;
  ShareSession();
}

}  // namespace vellumo
