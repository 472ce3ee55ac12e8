#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vellumo {

// File attribute bits as Windows reports them. The Linux adapter maps its own notions onto
// these (a dot name is hidden, a folder without the owner's write bit is read-only, a symbolic
// link is a reparse point), so the core applies one rule everywhere.
namespace attr {
inline constexpr uint32_t kReadOnly = 0x1;
inline constexpr uint32_t kHidden = 0x2;
inline constexpr uint32_t kSystem = 0x4;
inline constexpr uint32_t kDirectory = 0x10;
inline constexpr uint32_t kArchive = 0x20;
inline constexpr uint32_t kNormal = 0x80;
inline constexpr uint32_t kReparsePoint = 0x400;
}  // namespace attr

struct DirEntry {
  std::string name;  // UTF-8, without folder
  uint32_t attributes = 0;
};

// Directory enumeration and the existence tests of stored paths.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Every entry of `folder` except "." and "..", in the order the system returns them, with
  // their attributes. False when the folder cannot be listed.
  virtual bool List(const std::string& folder, std::vector<DirEntry>& entries) = 0;

  // True for an existing file or folder; false for the empty path.
  virtual bool FileExists(const std::string& path) = 0;

  // True when listing `path` as a name pattern (folders included, hidden and system entries
  // left out) yields at least one name: a folder with or without its trailing separator, or a
  // file. A hidden folder named without the trailing separator is not found.
  virtual bool FolderExists(const std::string& path) = 0;

  virtual char Separator() const = 0;
};

}  // namespace vellumo
