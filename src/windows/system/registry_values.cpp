#include "registry_values.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <vector>

#include "registry_key.h"
#include "settings/settings.h"
#include "utf.h"

namespace vellumo::Registry {
namespace {

constexpr uint32_t kNoRoot = 0;
constexpr uint32_t kProfileFile = 1;

struct PredefinedKey {
  std::string_view name;
  uint32_t handle;
};
constexpr std::array<PredefinedKey, 6> kPredefinedKeys = {{{"HKCU", 0x80000001},
                                                           {"HKLM", 0x80000002},
                                                           {"HKU", 0x80000003},
                                                           {"HKDD", 0x80000006},
                                                           {"HKCC", 0x80000005},
                                                           {"HKCR", 0x80000000}}};

enum class Letter { kText, kBoolean, kInteger, kOther };

// A stored value in the form RegSetValueExW takes.
struct RawValue {
  DWORD type;
  std::vector<BYTE> bytes;
};

// The handles are 32-bit values sign-extended to pointer width, as the system headers do.
HKEY KeyOf(uint32_t handle) {
  return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(handle)));
}

char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualsUpper(std::string_view name, std::string_view upper) {
  return name.size() == upper.size() && std::equal(name.begin(), name.end(), upper.begin(),
                                                   [](char a, char b) { return Upper(a) == b; });
}

Letter LetterOf(std::string_view type) {
  if (type.size() != 1) return Letter::kOther;
  switch (Upper(type[0])) {
    case 'S':
      return Letter::kText;
    case 'B':
      return Letter::kBoolean;
    case 'D':
      return Letter::kInteger;
    default:
      return Letter::kOther;
  }
}

// Folders, hidden and system files are not taken for profile files.
bool IsOrdinaryFile(std::string_view name) {
  const DWORD attributes = GetFileAttributesW(Widen(name).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  constexpr DWORD kExcluded =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  return (attributes & kExcluded) == 0;
}

std::string AsText(const Value& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* flag = std::get_if<bool>(&value)) return BooleanText(*flag);
  return std::to_string(std::get<int32_t>(value));
}

std::optional<bool> AsBoolean(const Value& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return ParseBoolean(*text);
  if (const auto* flag = std::get_if<bool>(&value)) return *flag;
  return std::get<int32_t>(value) != 0;
}

std::optional<int16_t> AsInteger(const Value& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return ParseInteger(*text);
  if (const auto* flag = std::get_if<bool>(&value)) return static_cast<int16_t>(*flag ? -1 : 0);
  const int32_t number = std::get<int32_t>(value);
  if (number < std::numeric_limits<int16_t>::min() || number > std::numeric_limits<int16_t>::max())
    return std::nullopt;
  return static_cast<int16_t>(number);
}

// Nothing for text holding a NUL: the stored string would end there and read back cut short.
std::optional<std::wstring> WideText(const Value& value) {
  const std::string text = AsText(value);
  if (text.find('\0') != std::string::npos) return std::nullopt;
  return Widen(text);
}

RawValue Raw(DWORD type, const void* data, size_t size) {
  const auto* bytes = static_cast<const BYTE*>(data);
  return {type, std::vector<BYTE>(bytes, bytes + size)};
}

std::optional<RawValue> Encode(Letter letter, const Value& value) {
  if (letter == Letter::kText) {
    const auto text = WideText(value);
    if (!text) return std::nullopt;
    return Raw(REG_SZ, text->c_str(), (text->size() + 1) * sizeof(wchar_t));
  }
  if (letter == Letter::kBoolean) {
    const auto flag = AsBoolean(value);
    if (!flag) return std::nullopt;
    const uint16_t bits = *flag ? 0xFFFF : 0;
    return Raw(REG_BINARY, &bits, sizeof(bits));
  }
  // A number outside 16 bits must not look like a successful write: it is refused before the
  // key is touched, and the caller gets ERROR_INVALID_PARAMETER (87).
  const auto number = AsInteger(value);
  if (!number) return std::nullopt;
  const int32_t extended = *number;
  return Raw(REG_DWORD, &extended, sizeof(extended));
}

// The profile functions look for a name without a full path in the Windows folder; the file
// that Root_Key found is the one relative to the current folder.
std::wstring FullPath(std::string_view name) {
  const std::wstring wide = Widen(name);
  const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (size == 0) return wide;
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return wide;
  full.resize(length);
  return full;
}

int32_t ReadProfile(std::string_view file, std::string_view section, std::string_view key,
                    Letter letter, const Value& default_value, Value& result) {
  const std::wstring path = FullPath(file), wide_section = Widen(section), wide_key = Widen(key);
  if (letter != Letter::kText) {
    const INT fallback = AsInteger(default_value).value_or(0);
    const auto number = static_cast<int32_t>(
        GetPrivateProfileIntW(wide_section.c_str(), wide_key.c_str(), fallback, path.c_str()));
    result = letter == Letter::kBoolean ? Value(number != 0) : Value(number);
    return ERROR_SUCCESS;
  }
  std::array<wchar_t, 255> buffer{};  // 254 characters and the terminator
  const std::wstring fallback = Widen(AsText(default_value));
  DWORD length =
      GetPrivateProfileStringW(wide_section.c_str(), wide_key.c_str(), fallback.c_str(),
                               buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
  length = std::min<DWORD>(length, buffer.size() - 1);
  // A cut through a surrogate pair would leave half a character, which has no UTF-8 form.
  if (length > 0 && IS_HIGH_SURROGATE(buffer[length - 1])) --length;
  result = Narrow(std::wstring_view(buffer.data(), length));
  return ERROR_SUCCESS;
}

int32_t WriteProfile(std::string_view file, std::string_view section, std::string_view key,
                     const wchar_t* text) {
  if (!WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), text,
                                  FullPath(file).c_str()))
    return static_cast<int32_t>(GetLastError());
  return ERROR_SUCCESS;
}

// The text of a REG_SZ or REG_EXPAND_SZ value, unexpanded. RegGetValueW adds the terminator a
// stored value may lack; only the bytes it returns count, up to the first NUL.
LONG ReadText(HKEY key, const std::wstring& name, Value& result) {
  constexpr DWORD kFlags = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
  std::wstring text;
  DWORD bytes = 0;
  LONG status = ERROR_MORE_DATA;
  // A value that grows between the size query and the read is asked for again.
  for (int attempt = 0; attempt < 3 && status == ERROR_MORE_DATA; ++attempt) {
    status = RegGetValueW(key, nullptr, name.c_str(), kFlags, nullptr, nullptr, &bytes);
    if (status != ERROR_SUCCESS) return status;
    text.assign(bytes / sizeof(wchar_t) + 1, L'\0');  // + 1: an odd byte count rounds down
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    status = RegGetValueW(key, nullptr, name.c_str(), kFlags, nullptr, text.data(), &bytes);
  }
  if (status != ERROR_SUCCESS) return status;
  text.resize(std::min<size_t>(bytes / sizeof(wchar_t), text.size()));
  text.resize(wcsnlen(text.c_str(), text.size()));
  result = Narrow(text);
  return ERROR_SUCCESS;
}

// A fixed-size value; one stored longer fails with ERROR_MORE_DATA, one shorter is zero-filled.
template <typename T>
LONG ReadFixed(HKEY key, const std::wstring& name, T& out) {
  T data{};
  DWORD bytes = sizeof(data);
  const LONG status =
      RegQueryValueExW(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&data), &bytes);
  if (status == ERROR_SUCCESS) out = data;
  return status;
}

int32_t ReadRegistry(HKEY root, std::string_view key_path, std::string_view value_name,
                     Letter letter, Value& result) {
  RegistryKey key;
  const LONG status = RegOpenKeyExW(root, Widen(key_path).c_str(), 0, KEY_QUERY_VALUE, key.out());
  if (status != ERROR_SUCCESS) return status;
  const std::wstring name = Widen(value_name);
  if (letter == Letter::kText) return ReadText(key.get(), name, result);
  if (letter == Letter::kBoolean) {
    uint16_t bits = 0;
    const LONG read = ReadFixed(key.get(), name, bits);
    if (read == ERROR_SUCCESS) result = bits != 0;
    return read;
  }
  int32_t number = 0;
  const LONG read = ReadFixed(key.get(), name, number);
  if (read == ERROR_SUCCESS) result = number;
  return read;
}

// Only allocation can throw below; it is reported like any other failure, never raised.
template <typename Operation>
int32_t Guarded(Operation operation) noexcept {
  try {
    return operation();
  } catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
  }
}

}  // namespace

uint32_t Root_Key(std::string_view root_name) {
  for (const auto& predefined : kPredefinedKeys)
    if (EqualsUpper(root_name, predefined.name)) return predefined.handle;
  return IsOrdinaryFile(root_name) ? kProfileFile : kNoRoot;
}

int32_t Read_Value(std::string_view root_name, std::string_view key_path,
                   std::string_view value_name, std::string_view type, const Value& default_value,
                   Value& result) {
  return Guarded([&]() -> int32_t {
    result = default_value;
    const uint32_t root = Root_Key(root_name);
    if (root == kNoRoot) return kNotAttempted;
    const Letter letter = LetterOf(type);
    if (letter == Letter::kOther) return ERROR_SUCCESS;
    if (root == kProfileFile)
      return ReadProfile(root_name, key_path, value_name, letter, default_value, result);
    return ReadRegistry(KeyOf(root), key_path, value_name, letter, result);
  });
}

int32_t Write_Value(std::string_view root_name, std::string_view key_path,
                    std::string_view value_name, std::string_view type, const Value& value) {
  return Guarded([&]() -> int32_t {
    const uint32_t root = Root_Key(root_name);
    if (root == kNoRoot) return kNotAttempted;
    const Letter letter = LetterOf(type);
    if (letter == Letter::kOther) return ERROR_SUCCESS;
    if (root == kProfileFile) {
      if (letter != Letter::kText) return kNotAttempted;
      const auto text = WideText(value);
      if (!text) return ERROR_INVALID_PARAMETER;
      return WriteProfile(root_name, key_path, value_name, text->c_str());
    }
    const auto raw = Encode(letter, value);
    if (!raw || raw->bytes.size() > std::numeric_limits<DWORD>::max())
      return ERROR_INVALID_PARAMETER;

    RegistryKey key;
    const LONG status =
        RegCreateKeyExW(KeyOf(root), Widen(key_path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE | KEY_CREATE_SUB_KEY, nullptr, key.out(), nullptr);
    if (status != ERROR_SUCCESS) return status;
    return RegSetValueExW(key.get(), Widen(value_name).c_str(), 0, raw->type, raw->bytes.data(),
                          static_cast<DWORD>(raw->bytes.size()));
  });
}

int32_t Delete_Value(std::string_view root_name, std::string_view key_path,
                     std::string_view value_name) {
  return Guarded([&]() -> int32_t {
    const uint32_t root = Root_Key(root_name);
    if (root == kNoRoot) return kNotAttempted;
    if (root == kProfileFile) return WriteProfile(root_name, key_path, value_name, L"");

    RegistryKey key;
    const LONG status =
        RegOpenKeyExW(KeyOf(root), Widen(key_path).c_str(), 0, KEY_SET_VALUE, key.out());
    if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS) return status;
    const LONG deleted = RegDeleteValueW(key.get(), Widen(value_name).c_str());
    return deleted == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : deleted;
  });
}

}  // namespace vellumo::Registry
