#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vellumo::test {

// A fresh folder under the system's temporary folder, removed with everything in it, even after
// a test took away its write permission.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The path of `name` (which may hold slashes) in this folder.
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Writes the bytes, creating the folders on the way; throws when the file cannot be written.
void WriteFile(const std::filesystem::path& path, std::string_view bytes);
void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
// The whole file; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);
std::vector<uint8_t> ReadBytes(const std::filesystem::path& path);

}  // namespace vellumo::test
