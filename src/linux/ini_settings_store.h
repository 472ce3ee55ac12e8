#pragma once

#include <optional>
#include <string>

#include "platform/settings_store.h"

namespace vellumo {

// The settings as "key=value" lines in the [Settings] section of an INI file. Other sections,
// keys and comments are kept as they are. Every write replaces the file atomically, so a crash
// never leaves half a file; a missing file is an empty store.
class IniSettingsStore : public SettingsStore {
 public:
  explicit IniSettingsStore(std::string path) : path_(std::move(path)) {}

  std::optional<std::string> Read(const std::string& key) override;
  // False when the file cannot be replaced, or for a value holding a line break, which the
  // format cannot carry.
  bool Write(const std::string& key, const std::string& value) override;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace vellumo
