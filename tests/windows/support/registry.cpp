#include "registry.h"

#include "utf.h"

namespace vellumo::test {

bool WriteUserValue(const std::string& key, const std::string& name, DWORD type, const void* data,
                    DWORD bytes) {
  return RegSetKeyValueW(HKEY_CURRENT_USER, Widen(key).c_str(), Widen(name).c_str(), type, data,
                         bytes) == ERROR_SUCCESS;
}

bool WriteUserString(const std::string& key, const std::string& name, const std::string& value) {
  const std::wstring text = Widen(value);
  return WriteUserValue(key, name, REG_SZ, text.c_str(),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::optional<std::string> ReadUserString(const std::string& key, const std::string& name) {
  const std::wstring wide_key = Widen(key), wide_name = Widen(name);
  DWORD bytes = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, wide_key.c_str(), wide_name.c_str(), RRF_RT_REG_SZ, nullptr,
                   nullptr, &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
  if (RegGetValueW(HKEY_CURRENT_USER, wide_key.c_str(), wide_name.c_str(), RRF_RT_REG_SZ, nullptr,
                   value.data(), &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.resize(wcsnlen(value.c_str(), value.size()));
  return Narrow(value);
}

bool UserKeyExists(const std::string& key) {
  HKEY handle;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(key).c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
    return false;
  RegCloseKey(handle);
  return true;
}

void DeleteUserKey(const std::string& key) {
  RegDeleteTreeW(HKEY_CURRENT_USER, Widen(key).c_str());
}

}  // namespace vellumo::test
