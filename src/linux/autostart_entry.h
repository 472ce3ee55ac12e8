#pragma once

#include <string>
#include <string_view>

#include "platform/run_at_logon.h"

namespace vellumo {

// Replaces `target` (others may read it) with `text` in one step: a temporary file beside it,
// created with its folders, renamed over it once complete. False when that failed.
bool WriteAtomically(const std::string& target, std::string_view text);

// One argument of a desktop entry's Exec line, as it is written in the file: quoted when it
// holds a blank or a character the launcher treats specially, with the quoting's escapes and
// then the file format's own (so a backslash becomes four); "%" doubled.
std::string ExecArgument(std::string_view argument);

// The whole entry that starts `exe_path -next` at login.
std::string AutostartEntryText(std::string_view exe_path);

// Whether a desktop would start the entry: not when its [Desktop Entry] group says Hidden=true
// or sets any X-...-Autostart-enabled key to false (the way desktops' own settings turn an
// entry off without removing it).
bool IsAutostartEnabled(std::string_view entry_text);

// Run at logon through the XDG autostart entry $XDG_CONFIG_HOME/autostart/vellumo.desktop.
class AutostartRunAtLogon : public RunAtLogon {
 public:
  // The user's entry and the running program.
  AutostartRunAtLogon();
  AutostartRunAtLogon(std::string entry_path, std::string exe_path);

  // Set when the file exists and is enabled, so an entry turned off in the desktop's settings
  // shows as released.
  bool Is_Startup_Set() override;
  // Writes the entry in one step (a temporary file renamed over it), or removes our file.
  void Set_Startup(bool on) override;

 private:
  std::string entry_path_;
  std::string exe_path_;
};

}  // namespace vellumo
