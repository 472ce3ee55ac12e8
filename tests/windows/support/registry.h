#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace vellumo::test {

// Values under HKEY_CURRENT_USER, the key created when missing. Key, value names and text are
// UTF-8.
bool WriteUserValue(const std::string& key, const std::string& name, DWORD type, const void* data,
                    DWORD bytes);
bool WriteUserString(const std::string& key, const std::string& name, const std::string& value);
// A REG_SZ value; nothing when it or its key is missing or of another type.
std::optional<std::string> ReadUserString(const std::string& key, const std::string& name);
bool UserKeyExists(const std::string& key);
// Deletes the key with everything below it.
void DeleteUserKey(const std::string& key);

}  // namespace vellumo::test
