#pragma once

#include <string>

#include "change/change_screen_view.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/file_system.h"
#include "platform/pictures.h"
#include "platform/run_at_logon.h"
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
  std::string windows_path;  // default source folder, ending in the separator
  std::string bitmap_path;   // the wallpaper bitmap the program writes
};

}  // namespace vellumo
