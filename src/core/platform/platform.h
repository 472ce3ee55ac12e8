#pragma once

#include <string>

#include "change/change_screen_view.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/file_system.h"
#include "platform/pictures.h"
#include "platform/run_at_logon.h"
#include "platform/run_report.h"
#include "platform/scheduled_change.h"
#include "platform/settings_store.h"

namespace vellumo {

// The system services one run of the program uses, injected by the platform's entry point.
struct Platform {
  SettingsStore& settings;
  FileSystem& files;
  PictureConverter& pictures;
  Desktop& desktop;
  EventLoop& loop;
  Views& views;
  RunAtLogon& startup;
  ScheduledChange& schedule;  // the change every so often
  RunReport& report;
  std::string windows_path;  // default source folder, ending in the separator
  // The wallpaper bitmap: beside the program, else (that folder refusing the file, read-only
  // or locked down) in the user's own data folder. Either may be empty when unknown.
  std::string bitmap_path;
  std::string bitmap_fallback_path;
};

}  // namespace vellumo
