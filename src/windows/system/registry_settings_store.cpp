#include "registry_settings_store.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

#include "registry_key.h"
#include "utf.h"

namespace vellumo {
namespace {

// A value as stored: its type and its bytes.
struct RawValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> bytes;
};

std::optional<RawValue> ReadRaw(HKEY key, const std::wstring& name) {
  RawValue value;
  LONG status = ERROR_MORE_DATA;
  // A value that grows between the size query and the read is asked for again.
  for (int attempt = 0; attempt < 3 && status == ERROR_MORE_DATA; ++attempt) {
    DWORD bytes = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
      return std::nullopt;
    value.bytes.resize(bytes);
    status = RegQueryValueExW(key, name.c_str(), nullptr, &value.type, value.bytes.data(), &bytes);
    value.bytes.resize(std::min<size_t>(bytes, value.bytes.size()));
  }
  if (status != ERROR_SUCCESS) return std::nullopt;
  return value;
}

// A string value's text, unexpanded: it ends at its first NUL or where the data ends, whichever
// comes first (a value stored without its terminator has none); half a character at the end of
// an odd byte count is dropped.
std::wstring TextOf(const std::vector<BYTE>& bytes) {
  std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
  if (text.empty()) return text;
  std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
  if (const auto nul = text.find(L'\0'); nul != std::wstring::npos) text.resize(nul);
  return text;
}

template <typename Integer>
std::optional<std::string> NumberOf(const std::vector<BYTE>& bytes) {
  Integer number = 0;
  if (bytes.size() != sizeof(number)) return std::nullopt;
  std::memcpy(&number, bytes.data(), sizeof(number));
  return std::to_string(number);
}

// Our own values are REG_SZ; another tool may have stored a number as a number, or a string as
// one to expand. Both read as the text they stand for; any other type counts as absent.
std::optional<std::string> AsText(const RawValue& value) {
  switch (value.type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
      return Narrow(TextOf(value.bytes));
    case REG_DWORD:
      return NumberOf<int32_t>(value.bytes);
    case REG_QWORD:
      return NumberOf<int64_t>(value.bytes);
    default:
      return std::nullopt;
  }
}

}  // namespace

RegistrySettingsStore::RegistrySettingsStore(const std::string& key_path)
    : key_path_(Widen(key_path)) {}

std::string RegistrySettingsStore::Where() const {
  return "HKEY_CURRENT_USER\\" + Narrow(key_path_);
}

std::optional<std::string> RegistrySettingsStore::Read(const std::string& key) {
  RegistryKey handle;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key_path_.c_str(), 0, KEY_QUERY_VALUE, handle.out()) !=
      ERROR_SUCCESS)
    return std::nullopt;
  const auto value = ReadRaw(handle.get(), Widen(key));
  if (!value) return std::nullopt;
  return AsText(*value);
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
