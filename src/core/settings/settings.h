#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/settings_store.h"

namespace vellumo {

// The eleven per-user settings, with their defaults for an empty store.
struct Settings {
  bool bFadeOut = true;
  bool bRandom = true;
  bool bRepeats = false;
  int16_t iDisplayType = 0;
  int16_t iSourceType = 1;
  std::string sSourceFile;
  std::string sSourceFolder;
  std::string sLastFile;
  int16_t iAutoSize = 300;
  int16_t iAutoRatio = 10;
  // Minutes between the changes the system's scheduler starts while Startup is pressed; 0 for
  // a change at logon only. Stored when chosen, as the schedule is set.
  int16_t iInterval = 0;

  // Never stored: the stored source file and folder when they no longer exist (the two
  // settings above then load as empty), so the window and the run can name what is missing.
  std::string missing_source_file;
  std::string missing_source_folder;
};

// Text forms in the store: "True"/"False", and decimal integers.
std::string BooleanText(bool value);
std::string IntegerText(int16_t value);

// "True"/"False" in any letter case, or a number (0 is false, anything else true).
std::optional<bool> ParseBoolean(std::string_view text);
// A decimal number that fits 16 bits once rounded to the nearest whole (halves to even).
std::optional<int16_t> ParseInteger(std::string_view text);

// Reads all eleven keys; a value that is absent or cannot be converted loads as its default.
// Stored paths that no longer exist load as empty. `windows_path` is the default source folder.
void Load_Settings(SettingsStore& store, FileSystem& files, const std::string& windows_path,
                   Settings& settings);

// Writes the seven keys the settings window edits, in a fixed order. The source folder and the
// last file are stored when they change, the interval when it is chosen, and the source file is
// never written.
void Save_Settings(SettingsStore& store, const Settings& settings);

// The one key written while a change ends. False when the store refused it.
[[nodiscard]] bool Store_Last_File(SettingsStore& store, const std::string& path);

}  // namespace vellumo
