#include "windows_path.h"

#include <windows.h>

#include <vector>

#include "utf.h"

namespace vellumo {

std::string Get_Windows_Path() {
  std::vector<wchar_t> buffer(MAX_PATH + 1);
  UINT length = GetWindowsDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
  // A result beyond the buffer is the size it needs, terminator included.
  if (length >= buffer.size()) {
    buffer.resize(length + 1);
    length = GetWindowsDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length >= buffer.size()) length = 0;
  }
  std::string path = Narrow(std::wstring_view(buffer.data(), length));
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

}  // namespace vellumo
