#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vellumo::test {

// A fresh folder under the user's temp folder, removed with everything in it (read-only,
// hidden and link entries included) when the test ends. Paths are UTF-8; `name`, if any, ends
// the folder's own name.
class TestFolder {
 public:
  explicit TestFolder(const std::string& name = "");
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;
  ~TestFolder();

  const std::string& path() const { return path_; }
  // path() + "\\" + name
  std::string operator/(const std::string& name) const;

  // Creates a file (bytes as given) or a folder below this one; returns its path.
  std::string AddFile(const std::string& name, const std::string& bytes = "x") const;
  std::string AddFolder(const std::string& name) const;

  // The names directly in this folder, "." and ".." left out.
  std::vector<std::string> Names() const;

 private:
  std::string path_;
};

std::string ReadAll(const std::string& path);
// Writes the bytes to a new or emptied file; throws when that fails.
void WriteAll(const std::string& path, const std::string& bytes);
void SetAttributes(const std::string& path, uint32_t attributes);

}  // namespace vellumo::test
