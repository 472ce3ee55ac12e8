#pragma once

#include <string>
#include <string_view>

namespace vellumo {

// The running executable's full path (UTF-8), however long; empty when the system cannot tell.
std::string ExePath();
// The folder of the running executable (UTF-8), without a trailing backslash unless it is a
// drive root such as C:\.
std::string ExeFolder();
// The folder part of a file's full path, the same way.
std::string FolderOf(std::wstring_view path);

// vellumo.bmp next to the executable; empty when its folder is unknown. Whether that folder
// takes the file (a standard user cannot write below Program Files) shows when it is written.
std::string BitmapPath();
// The same for a program in `exe_folder`.
std::string BitmapPathFor(const std::string& exe_folder);

// vellumo.bmp in %LOCALAPPDATA%\Vellumo (created when missing), for when the program's folder
// refuses the bitmap. Empty when that folder cannot be had.
std::string FallbackBitmapPath();

// vellumo.log in %LOCALAPPDATA%\Vellumo, where a run says what it could not do; neither the
// file nor its folder is created here. Empty when that folder cannot be had.
std::string LogPath();

}  // namespace vellumo
