#pragma once

#include <string>
#include <vector>

#include "images/image_list.h"

namespace vellumo {

// Fills the image list from a whole folder tree, depth first: a folder's own pictures come
// before those of its sub-folders, which follow in the system's order. Only plain folders are
// entered (attributes exactly "directory"), so links, hidden, system and read-only folders are
// not, and a link leading back into the tree cannot make the walk endless. The change screen
// shows the progress.
class FolderSearch {
 public:
  explicit FolderSearch(ImageList& list) : list_(list) {}

  void Search_Folders();

 private:
  // `entries` is the listing of `path`, which ends in the separator.
  void Search_SubFolders(const std::string& path, const std::vector<DirEntry>& entries);

  ImageList& list_;
};

}  // namespace vellumo
