#pragma once

#include "win.h"

#include <string>

namespace vellumo {

// The system's dialogs for choosing the source. Paths are UTF-8 and come back whole, whatever
// their length; empty when cancelled.

// The shell's folder dialog, only file-system folders, opened with `start` selected where it
// is a folder that exists.
std::string BrowseForFolder(HWND owner, const std::string& prompt, const std::string& start);

// The open-file dialog for one picture (BMP, JPEG, GIF, or any file), opened in `start`'s
// folder with its name filled in; `start` may also be a folder.
std::string BrowseForPicture(HWND owner, const std::string& prompt, const std::string& start);

}  // namespace vellumo
