#include "registry_settings_store.h"

#include <windows.h>

#include <algorithm>
#include <limits>
#include <optional>

#include "registry_key.h"
#include "utf.h"

namespace vellumo {
namespace {

// The text of a REG_SZ value. RegGetValueW adds the terminator a stored value may lack, and its
// size counts it; the text ends at its first NUL.
std::optional<std::wstring> ReadString(HKEY key, const std::wstring& name) {
  constexpr DWORD kFlags = RRF_RT_REG_SZ;  // any other type counts as absent
  DWORD bytes = 0;
  LONG status = ERROR_MORE_DATA;
  std::wstring text;
  // A value that grows between the size query and the read is asked for again.
  for (int attempt = 0; attempt < 3 && status == ERROR_MORE_DATA; ++attempt) {
    if (RegGetValueW(key, nullptr, name.c_str(), kFlags, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
      return std::nullopt;
    text.assign(bytes / sizeof(wchar_t) + 1, L'\0');  // + 1: an odd byte count rounds down
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    status = RegGetValueW(key, nullptr, name.c_str(), kFlags, nullptr, text.data(), &bytes);
  }
  if (status != ERROR_SUCCESS) return std::nullopt;
  // Only the bytes returned count: half a character at the end of an odd count is dropped.
  text.resize(std::min<size_t>(bytes / sizeof(wchar_t), text.size()));
  if (const auto nul = text.find(L'\0'); nul != std::wstring::npos) text.resize(nul);
  return text;
}

}  // namespace

RegistrySettingsStore::RegistrySettingsStore(const std::string& key_path)
    : key_path_(Widen(key_path)) {}

std::optional<std::string> RegistrySettingsStore::Read(const std::string& key) {
  RegistryKey handle;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key_path_.c_str(), 0, KEY_QUERY_VALUE, handle.out()) !=
      ERROR_SUCCESS)
    return std::nullopt;
  const auto text = ReadString(handle.get(), Widen(key));
  if (!text) return std::nullopt;
  return Narrow(*text);
}

bool RegistrySettingsStore::Write(const std::string& key, const std::string& value) {
  // A REG_SZ ends at its first NUL: a value holding one would come back cut short.
  if (value.find('\0') != std::string::npos) return false;
  const std::wstring text = Widen(value);
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);  // with the terminating NUL
  if (bytes > std::numeric_limits<DWORD>::max()) return false;

  RegistryKey handle;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, key_path_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, handle.out(), nullptr) != ERROR_SUCCESS)
    return false;
  return RegSetValueExW(handle.get(), Widen(key).c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>(bytes)) == ERROR_SUCCESS;
}

}  // namespace vellumo
