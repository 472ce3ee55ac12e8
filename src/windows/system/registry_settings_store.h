#pragma once

#include <string>

#include "platform/settings_store.h"

namespace vellumo {

// The settings as one REG_SZ value per key under a key of HKEY_CURRENT_USER. Values another
// tool stored as REG_EXPAND_SZ, REG_DWORD or REG_QWORD read as their text.
class RegistrySettingsStore : public SettingsStore {
 public:
  static constexpr const char* kDefaultKey = "Software\\Vellumo\\Settings";

  RegistrySettingsStore() : RegistrySettingsStore(kDefaultKey) {}
  // `key_path` below HKEY_CURRENT_USER, UTF-8; tests use a key of their own.
  explicit RegistrySettingsStore(const std::string& key_path);

  std::optional<std::string> Read(const std::string& key) override;
  std::string Where() const override;
  bool Write(const std::string& key, const std::string& value) override;

 private:
  std::wstring key_path_;
};

}  // namespace vellumo
