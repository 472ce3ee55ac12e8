#include <windows.h>

// <windows.h> maps ReplaceFile to the system's ReplaceFileW; ours is a different function.
#undef ReplaceFile

#include "platform/bitmap_file.h"

namespace vellumo {

// MoveFileEx replaces an existing target in one step; write-through makes the new file reach
// the disk before the call returns, so the desktop never reads half a bitmap. On failure
// GetLastError() says why.
bool ReplaceFile(const std::filesystem::path& temp, const std::filesystem::path& target) {
  return MoveFileExW(temp.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace vellumo
