#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace vellumo {

// True for names matching "*.bmp;*.jpg;*.jpeg;*.gif" without regard to case.
bool IsPictureName(std::string_view name);

// The settings window's hidden file list: the picture files of one folder, by name without
// regard to case. Hidden and system files and all folders are left out.
class FileList {
 public:
  explicit FileList(FileSystem& files) : files_(files) {}

  // Lists `folder`; an unreadable or missing folder gives an empty list. Returns false then.
  bool SetPath(const std::string& folder);

  const std::string& Path() const { return path_; }
  const std::vector<std::string>& Names() const { return names_; }
  // Everything the last listing returned, in the system's order, for callers that also need
  // the folder's sub-folders: one enumeration per folder serves both.
  const std::vector<DirEntry>& Entries() const { return entries_; }

 private:
  FileSystem& files_;
  std::string path_;
  std::vector<std::string> names_;
  std::vector<DirEntry> entries_;
};

}  // namespace vellumo
