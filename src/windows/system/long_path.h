#pragma once

#include <string>

namespace vellumo {

// Paths from 248 characters on (the limit for a folder; a file's is 259) only reach the file
// system in the extended form "\\?\C:\..." or "\\?\UNC\server\share\...", unless the system
// runs with long paths enabled. The extended form skips the usual clean-up of the path, so it is
// made from the full, normalised path.
inline constexpr size_t kLongPathFrom = 248;

// `path` in the extended form when it is that long, else unchanged; also unchanged when it is
// already in that form or has no full form.
std::wstring LongPathForm(const std::wstring& path);

}  // namespace vellumo
