#include "long_path.h"

#include <windows.h>

#include <string_view>

namespace vellumo {
namespace {

// GetFullPathNameW resolves "." and "..", turns "/" into "\" and prefixes relative paths with
// the current folder.
std::wstring FullPath(const std::wstring& path) {
  std::wstring full(path.size() + MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 3; ++attempt) {
    const DWORD length =
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return {};
    if (length < full.size()) {
      full.resize(length);
      return full;
    }
    full.resize(length);  // the size needed, terminator included
  }
  return {};
}

}  // namespace

std::wstring LongPathForm(const std::wstring& path) {
  if (path.size() < kLongPathFrom) return path;
  const std::wstring_view view(path);
  if (view.starts_with(LR"(\\?\)") || view.starts_with(LR"(\\.\)")) return path;
  const std::wstring full = FullPath(path);
  if (full.starts_with(LR"(\\)")) return LR"(\\?\UNC\)" + full.substr(2);
  if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') return LR"(\\?\)" + full;
  return path;
}

}  // namespace vellumo
