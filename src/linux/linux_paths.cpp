#include "linux_paths.h"

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
  std::error_code error;
  for (const char* folder : {"/usr/share/backgrounds/", "/usr/share/wallpapers/"})
    if (std::filesystem::is_directory(folder, error)) return folder;
  return Home() + "/Pictures/";
}

std::string ExePath() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : exe.string();
}

std::string ExeFolder() {
  const std::string exe = ExePath();
  return exe.empty() ? exe : std::filesystem::path(exe).parent_path().string();
}

std::string BitmapPath() {
  const std::string beside_exe = ExeFolder();
  // Unknown when /proc is not mounted; the working folder is no place for the wallpaper.
  if (beside_exe.empty()) return {};
  // Installed by a package (or into /usr/local), the folder belongs to the system: a user cannot
  // write there, and root must not leave files in it that no package owns.
  if (beside_exe.starts_with("/usr/")) return {};
  return beside_exe + "/vellumo.png";
}

std::string FallbackBitmapPath() {
  const std::string data = DataHome() + "/vellumo";
  std::error_code error;
  std::filesystem::create_directories(data, error);
  return data + "/vellumo.png";
}

}  // namespace vellumo
