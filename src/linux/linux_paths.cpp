#include "linux_paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace vellumo {
namespace {

std::string Home() {
  const char* home = std::getenv("HOME");
  return home && *home ? home : "/";
}

// An XDG base folder: the variable when it holds an absolute path, else the fallback.
std::string XdgFolder(const char* variable, const char* fallback_below_home) {
  const char* value = std::getenv(variable);
  if (value && value[0] == '/') return value;
  return Home() + "/" + fallback_below_home;
}

bool IsFolder(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::string ConfigHome() {
  return XdgFolder("XDG_CONFIG_HOME", ".config");
}

std::string DataHome() {
  return XdgFolder("XDG_DATA_HOME", ".local/share");
}

std::string SettingsFilePath() {
  return ConfigHome() + "/vellumo/settings.ini";
}

std::string WallpaperFolder() {
  for (const char* folder : {"/usr/share/backgrounds/", "/usr/share/wallpapers/"})
    if (IsFolder(folder)) return folder;
  return Home() + "/Pictures/";
}

std::string ExeFolder() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return ".";
  return exe.parent_path().string();
}

std::string BitmapPath() {
  const std::string beside_exe = ExeFolder();
  if (access(beside_exe.c_str(), W_OK) == 0) return beside_exe + "/vellumo.bmp";
  const std::string data = DataHome() + "/vellumo";
  std::error_code error;
  std::filesystem::create_directories(data, error);
  return data + "/vellumo.bmp";
}

}  // namespace vellumo
