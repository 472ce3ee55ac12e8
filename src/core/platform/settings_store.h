#pragma once

#include <optional>
#include <string>

namespace vellumo {

// The per-user store: one text value per key of the application's "Settings" section.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // The stored text, or nothing when the key (or the whole store) is absent.
  virtual std::optional<std::string> Read(const std::string& key) = 0;

  // Stores the text at once. False when it could not be written.
  virtual bool Write(const std::string& key, const std::string& value) = 0;
};

}  // namespace vellumo
