#include "app_paths.h"

#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <string_view>

#include "utf.h"

namespace vellumo {
namespace {

constexpr std::string_view kBitmapName = "vellumo.bmp";
constexpr std::string_view kOwnFolder = "Vellumo";

std::string Join(std::string folder, std::string_view name) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder.append(name);
}

std::string LocalAppDataFolder() {
  PWSTR path = nullptr;
  std::string folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &path)))
    folder = Narrow(path);
  CoTaskMemFree(path);  // also required when the call fails
  return folder;
}

}  // namespace

std::string ExePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    // A full buffer means the name was cut: grow and ask again.
    if (length < buffer.size()) return Narrow(std::wstring_view(buffer.data(), length));
    if (buffer.size() >= 32768) return {};  // longer than any Windows path
    buffer.resize(buffer.size() * 2);
  }
}

std::string ExeFolder() {
  const std::string path = ExePath();
  return path.empty() ? std::string() : FolderOf(Widen(path));
}

std::string FolderOf(std::wstring_view path) {
  const auto slash = path.find_last_of(L"\\/");
  if (slash == std::wstring_view::npos) return {};
  // A drive root keeps its backslash: "C:" alone names drive C's current folder.
  const bool drive_root = slash == 2 && path[1] == L':';
  return Narrow(path.substr(0, drive_root ? slash + 1 : slash));
}

std::string BitmapPath() {
  return BitmapPathFor(ExeFolder());
}

std::string BitmapPathFor(const std::string& exe_folder) {
  return exe_folder.empty() ? std::string() : Join(exe_folder, kBitmapName);
}

std::string FallbackBitmapPath() {
  const std::string local = LocalAppDataFolder();
  if (local.empty()) return {};
  const std::string own = Join(local, kOwnFolder);
  if (!CreateDirectoryW(Widen(own).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    return {};
  return Join(own, kBitmapName);
}

std::string LogPath() {
  const std::string local = LocalAppDataFolder();
  if (local.empty()) return {};
  return Join(Join(local, kOwnFolder), "vellumo.log");
}

}  // namespace vellumo
