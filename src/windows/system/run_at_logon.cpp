#include "run_at_logon.h"

#include <windows.h>

#include <utility>

#include "app_paths.h"
#include "registry_values.h"
#include "settings/startup_command.h"
#include "utf.h"

namespace vellumo {
namespace {

// Stands for "no entry" when reading: any other text, even an empty one, is an entry.
constexpr const char* kAbsent = "BLANK";

}  // namespace

RegistryRunAtLogon::RegistryRunAtLogon() : RegistryRunAtLogon(kRunKey, ExePath()) {}

RegistryRunAtLogon::RegistryRunAtLogon(std::string key_path, std::string exe_path)
    : key_path_(std::move(key_path)), exe_path_(std::move(exe_path)) {}

bool RegistryRunAtLogon::Is_Startup_Set() {
  // The status is not needed: a missing key or value leaves the default.
  Registry::Value text;
  Registry::Read_Value("HKCU", key_path_, kValueName, "S", std::string(kAbsent), text);
  const auto* read = std::get_if<std::string>(&text);
  return read != nullptr && *read != kAbsent;
}

void RegistryRunAtLogon::Set_Startup(bool on) {
  if (!on) {
    Registry::Delete_Value("HKCU", key_path_, kValueName);
    return;
  }
  const auto slash = exe_path_.find_last_of("\\/");
  // Without a known program there is nothing that could be started.
  if (slash == std::string::npos) return;
  const std::string folder = FolderOf(Widen(exe_path_));
  const std::string command = StartupCommand(folder, std::string_view(exe_path_).substr(slash + 1));
  Registry::Write_Value("HKCU", key_path_, kValueName, "S", command);
}

}  // namespace vellumo
