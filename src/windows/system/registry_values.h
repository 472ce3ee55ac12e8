#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

// Named values in the registry, or in a profile (.ini) file, addressed by a root name, a key
// path and a value name; all text UTF-8. Every operation returns a status instead of raising:
// 0 success, 99 for a root name that is neither a registry root nor an existing file, otherwise
// the system's error code (2 not found, 5 access denied, 87 a value the type cannot hold, ...).
namespace vellumo::Registry {

// What a type letter carries: "S" text, "B" boolean, "D" 16-bit integer. The integer is held
// in 32 bits so that an out-of-range value can be handed in, and refused.
using Value = std::variant<std::string, bool, int32_t>;

// The root name is unknown, or the operation stopped before any system call.
constexpr int32_t kNotAttempted = 99;

// The predefined key's handle value for "HKCU", "HKLM", "HKU", "HKDD", "HKCC" or "HKCR" in any
// letter case; otherwise 1 when the name is an existing ordinary file, else 0.
uint32_t Root_Key(std::string_view root_name);

// Sets `result` to `default_value`, then to the stored value: text for "S" (REG_SZ, or
// REG_EXPAND_SZ unexpanded), boolean for "B" (2 bytes), integer for "D" (4 bytes). Type letters
// are case-blind; any other letter reads nothing. In a profile file the key path is the
// section, the value name the key, and text is cut to 254 characters.
int32_t Read_Value(std::string_view root_name, std::string_view key_path,
                   std::string_view value_name, std::string_view type, const Value& default_value,
                   Value& result);

// Stores `value` converted for the letter ("S" as REG_SZ text, "B" as FF FF / 00 00 REG_BINARY,
// "D" sign-extended REG_DWORD), creating the key when missing. A value that cannot take that
// form writes nothing and returns 87. Profile files take "S" only (99 otherwise).
int32_t Write_Value(std::string_view root_name, std::string_view key_path,
                    std::string_view value_name, std::string_view type, const Value& value);

// Removes the value; a value or key that is not there is a success. In a profile file the key
// is left with an empty value.
int32_t Delete_Value(std::string_view root_name, std::string_view key_path,
                     std::string_view value_name);

}  // namespace vellumo::Registry
