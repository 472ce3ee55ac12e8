#pragma once

#include <string>
#include <string_view>

namespace vellumo {

// The folder of the running executable (UTF-8), without a trailing backslash unless it is a
// drive root such as C:\.
std::string ExeFolder();
// The folder part of a file's full path, the same way.
std::string FolderOf(std::wstring_view path);

// Where the wallpaper bitmap goes: vellumo.bmp next to the executable when that folder is
// writable, else in %LOCALAPPDATA%\Vellumo (created when missing), since a standard user
// cannot write below Program Files. Empty when neither is possible.
std::string BitmapPath();
// The same for a program in `exe_folder`.
std::string BitmapPathFor(const std::string& exe_folder);

// True when a file can be created in `folder` (tried with a temporary file, removed again).
bool IsWritableFolder(const std::string& folder);

}  // namespace vellumo
