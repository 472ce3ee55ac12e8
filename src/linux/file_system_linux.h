#pragma once

#include "platform/file_system.h"

namespace vellumo {

// Folders and files on a POSIX file system, described with the attribute bits the core expects:
// a name starting with "." is hidden, a folder without the owner's write bit is read-only, a
// symbolic link is a reparse point (never a plain folder, so links cannot loop the search).
class LinuxFileSystem : public FileSystem {
 public:
  bool List(const std::string& folder, std::vector<DirEntry>& entries) override;
  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  char Separator() const override { return '/'; }
};

}  // namespace vellumo
