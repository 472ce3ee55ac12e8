#pragma once

#include <string>

namespace vellumo {

// A new, uniquely named partial file beside a bitmap (see platform/partial_file.h). It is held
// under a shared flock until the object goes, so that RemoveStalePartials in another process
// never takes a file that is still being written.
class PartialFile {
 public:
  // Creates the file in `bitmap`'s folder, so the final rename stays on one file system;
  // path() is empty when that failed.
  explicit PartialFile(const std::string& bitmap);
  ~PartialFile();
  PartialFile(const PartialFile&) = delete;
  PartialFile& operator=(const PartialFile&) = delete;

  const std::string& path() const { return path_; }
  // Why the file could not be created (an errno), when path() is empty.
  int error() const { return error_; }
  // The six letters or digits that make the name unique.
  std::string suffix() const;
  // Removes the file; for a write that failed.
  void Discard();

 private:
  std::string path_;
  int fd_ = -1;
  int error_ = 0;
};

// Removes what killed runs left beside `bitmap`: files named exactly like our partial files
// (or like those of earlier versions, which wrote vellumo.bmp) that no running process holds.
// Anything else in the folder stays.
void RemoveStalePartials(const std::string& bitmap);

}  // namespace vellumo
