#pragma once

#include <filesystem>
#include <string>

namespace vellumo {

// A new, empty partial file beside `target` (see platform/partial_file.h), in the form the
// file system needs for its length; empty when none could be created, with the reason in
// GetLastError(). Beside the target, so the final move stays on one volume.
std::filesystem::path CreatePartialFile(const std::filesystem::path& target);

// Removes what killed runs left beside `bitmap` (UTF-8): files named exactly like our partial
// files. One still being written is open without delete sharing, so it stays.
void RemoveStalePartials(const std::string& bitmap);

}  // namespace vellumo
