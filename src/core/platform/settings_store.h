#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vellumo {

// Keys and their texts, in the order they are to be stored.
using SettingsValues = std::vector<std::pair<std::string, std::string>>;

// The per-user store: one text value per key of the application's "Settings" section.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // The stored text, or nothing when the key (or the whole store) is absent.
  virtual std::optional<std::string> Read(const std::string& key) = 0;

  // Where the settings live, for messages: a file's path, a registry key.
  virtual std::string Where() const { return {}; }

  // Stores the text at once. False when it could not be written.
  virtual bool Write(const std::string& key, const std::string& value) = 0;

  // Stores several keys together. This default writes them one by one, each on its own; a store
  // that rewrites a whole file for every write overrides it to do so once. False when any key
  // could not be written (the others are still attempted).
  virtual bool WriteAll(const SettingsValues& values) {
    bool all = true;
    for (const auto& [key, value] : values) all = Write(key, value) && all;
    return all;
  }
};

}  // namespace vellumo
