#include "win_file_system.h"

#include <windows.h>

#include <string_view>
#include <utility>

#include "find_handle.h"
#include "long_path.h"
#include "utf.h"

namespace vellumo {
namespace {

bool EndsInSeparator(std::wstring_view path) {
  return !path.empty() && (path.back() == L'\\' || path.back() == L'/');
}

bool IsDotEntry(std::wstring_view name) {
  return name == L"." || name == L"..";
}

}  // namespace

bool WinFileSystem::List(const std::string& folder, std::vector<DirEntry>& entries) {
  entries.clear();
  if (folder.empty()) return false;
  std::wstring pattern = Widen(folder);
  if (pattern.empty()) return false;
  pattern += EndsInSeparator(pattern) ? L"*" : L"\\*";

  FindHandle find(LongPathForm(pattern));
  // Only an empty drive root has no entry at all, not even ".".
  if (!find.valid()) return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    const WIN32_FIND_DATAW& data = find.data();
    if (IsDotEntry(data.cFileName)) continue;
    // A name with no UTF-8 form could be listed but never opened again.
    std::string name = Narrow(data.cFileName);
    if (name.empty()) continue;
    entries.push_back({std::move(name), data.dwFileAttributes});
  } while (find.Next());
  return true;
}

bool WinFileSystem::FileExists(const std::string& path) {
  if (path.empty()) return false;
  // Not PathFileExistsW: it stops at MAX_PATH characters.
  const std::wstring wide = Widen(path);
  return !wide.empty() && GetFileAttributesW(LongPathForm(wide).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WinFileSystem::FolderExists(const std::string& path) {
  if (path.empty()) return false;
  std::wstring pattern = Widen(path);
  if (pattern.empty()) return false;
  // The system does not match a pattern that ends in a separator; listing the folder's contents
  // instead finds its "." entry, which proves the folder is there even when it is hidden.
  if (EndsInSeparator(pattern)) pattern += L"*";

  FindHandle find(LongPathForm(pattern));
  if (!find.valid()) return false;
  constexpr DWORD kUnlisted = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  do {
    const WIN32_FIND_DATAW& data = find.data();
    if (IsDotEntry(data.cFileName)) return true;
    if ((data.dwFileAttributes & kUnlisted) == 0) return true;
  } while (find.Next());
  return false;
}

}  // namespace vellumo
