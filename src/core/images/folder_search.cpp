#include "images/folder_search.h"

#include "platform/text.h"

namespace vellumo {

void FolderSearch::Search_Folders() {
  auto& changing = list_.changing();
  auto& main_view = list_.main_view();
  const std::string& source = list_.state().settings.sSourceFolder;
  const char separator = list_.platform().files.Separator();

  changing.SetFileName("Searching for files...");
  main_view.SetEnabled(false);
  changing.Show();

  list_.Files().SetPath(source);
  list_.Add_Files(true);
  // An empty source has no tree below it (and must not become the file system's root).
  if (!source.empty()) {
    const std::vector<DirEntry> entries = list_.Files().Entries();
    Search_SubFolders(JoinPath(source, "", separator), entries);
  }

  changing.SetFileName("Search Complete");
  main_view.SetEnabled(true);
}

void FolderSearch::Search_SubFolders(const std::string& path,
                                     const std::vector<DirEntry>& entries) {
  const char separator = list_.platform().files.Separator();
  std::vector<std::string> sub_folders;
  for (const auto& entry : entries) {
    if (entry.name == "." || entry.name == "..") continue;
    if (entry.attributes == attr::kDirectory) sub_folders.push_back(entry.name);
  }

  for (const auto& name : sub_folders) {
    const std::string folder = path + name;
    FileList& files = list_.Files();
    files.SetPath(folder);
    list_.Add_Files(true);
    // The file list's listing of this folder serves its sub-folders too; copy it, as the walk
    // below re-points the file list.
    const std::vector<DirEntry> child_entries = files.Entries();
    Search_SubFolders(folder + separator, child_entries);
  }
  list_.platform().loop.Yield();
}

}  // namespace vellumo
