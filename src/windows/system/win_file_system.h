#pragma once

#include "platform/file_system.h"

namespace vellumo {

// Directory listing and existence tests through the Win32 file API.
class WinFileSystem : public FileSystem {
 public:
  bool List(const std::string& folder, std::vector<DirEntry>& entries) override;
  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  char Separator() const override { return '\\'; }
};

}  // namespace vellumo
