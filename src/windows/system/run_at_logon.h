#pragma once

#include <string>

#include "platform/run_at_logon.h"

namespace vellumo {

// The value "Vellumo" under a key of HKEY_CURRENT_USER holding the quoted start command.
class RegistryRunAtLogon : public RunAtLogon {
 public:
  static constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  static constexpr const char* kValueName = "Vellumo";

  // The user's Run key and the running program.
  RegistryRunAtLogon();
  // `key_path` below HKEY_CURRENT_USER and the program's full path, both UTF-8; for tests.
  RegistryRunAtLogon(std::string key_path, std::string exe_path);

  bool Is_Startup_Set() override;
  void Set_Startup(bool on) override;

 private:
  std::string key_path_;
  std::string exe_path_;
};

}  // namespace vellumo
