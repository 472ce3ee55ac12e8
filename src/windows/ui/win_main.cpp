#include <objbase.h>
#include "win.h"

#include <string>

#include "app_paths.h"
#include "command_line.h"
#include "event_loop.h"
#include "log_file_report.h"
#include "partial_files.h"
#include "registry_settings_store.h"
#include "run_at_logon.h"
#include "run_lock.h"
#include "startup/main.h"
#include "startup/run_mode.h"
#include "task_schedule.h"
#include "utf.h"
#include "wic_picture_converter.h"
#include "win_desktop.h"
#include "win_file_system.h"
#include "win_views.h"
#include "windows_path.h"

namespace vellumo {
namespace {

// One run of the program; the exit code is 0 unless a background change was not applied or
// its picture not stored as the last one.
int RunProgram() {
  const std::wstring arguments(ArgumentText(GetCommandLineW()));

  RegistrySettingsStore settings;
  WinFileSystem files;
  WicPictureConverter pictures;
  WinDesktop desktop;
  WinEventLoop loop;
  WinViews views(loop);
  RegistryRunAtLogon startup;
  TaskSchedulerChange schedule;
  // No console to tell: what a run could not do goes to a log file.
  LogFileReport report(LogPath());
  Platform platform{settings,     files,
                    pictures,     desktop,
                    loop,         views,
                    startup,      schedule,
                    report,       Get_Windows_Path(),
                    BitmapPath(), FallbackBitmapPath()};

  if (IsBackgroundSwitch(Narrow(arguments))) {
    // One change at a time: runs started together would otherwise interleave their settings.
    const RunLock lock(RunLock::kName, RunLock::kTimeoutMs);
    if (lock.state() == RunLock::State::kBusy) return 1;
    // Holding it, no other run is writing: any partial bitmap is a killed run's.
    if (lock.state() == RunLock::State::kHeld) {
      RemoveStalePartials(platform.bitmap_path);
      RemoveStalePartials(platform.bitmap_fallback_path);
      RemoveStalePartials(LogPath());
    }
    // The exit code is for whoever started the run; why it failed is in the log.
    return ExitCode(RunBackground(platform));
  }
  RunInteractive(platform);
  return 0;
}

}  // namespace
}  // namespace vellumo

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const int exit_code = vellumo::RunProgram();
  if (SUCCEEDED(com)) CoUninitialize();
  return exit_code;
}
