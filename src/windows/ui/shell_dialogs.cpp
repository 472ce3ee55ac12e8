#include "shell_dialogs.h"

#include <shlobj.h>
#include <shobjidl.h>

#include "com_ptr.h"
#include "utf.h"

namespace vellumo {
namespace {

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Through a shell item rather than a MAX_PATH buffer: a deep path comes back whole.
std::string FileSystemPath(IShellItem* item) {
  wchar_t* name = nullptr;
  if (!item || FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &name)) || !name) return {};
  std::string path = Narrow(name);
  CoTaskMemFree(name);
  return path;
}

// Without the trailing backslash, which the shell does not always parse, except a drive's.
std::wstring WithoutTrailingSlash(std::wstring folder) {
  while (folder.size() > 3 && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  return folder;
}

// The folder the dialog opens with selected, and whether the dialog has selected anything.
struct Start {
  std::wstring folder;
  bool selected = false;
};

// Selects the start folder as the dialog opens. When that selects nothing (Wine's dialog at
// times finds no path while it is still being made) it is asked again from the dialog's loop.
int CALLBACK SelectStart(HWND dialog, UINT message, LPARAM, LPARAM data) {
  auto* start = reinterpret_cast<Start*>(data);
  if (message == BFFM_SELCHANGED) start->selected = true;
  if (message != BFFM_INITIALIZED) return 0;
  const auto folder = reinterpret_cast<LPARAM>(start->folder.c_str());
  start->selected = false;
  SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, folder);
  if (!start->selected) PostMessageW(dialog, BFFM_SETSELECTIONW, TRUE, folder);
  return 0;
}

// The folder to open and the name to fill in for `start`, a file or a folder.
struct Place {
  std::wstring folder;
  std::wstring name;
};

Place PlaceOf(const std::wstring& start) {
  if (start.empty() || IsFolder(start)) return {WithoutTrailingSlash(start), {}};
  const size_t slash = start.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return {{}, start};
  return {WithoutTrailingSlash(start.substr(0, slash + 1)), start.substr(slash + 1)};
}

void OpenAt(IFileOpenDialog* dialog, const std::wstring& start) {
  const Place place = PlaceOf(start);
  ComPtr<IShellItem> folder;
  if (!place.folder.empty() && IsFolder(place.folder) &&
      SUCCEEDED(SHCreateItemFromParsingName(place.folder.c_str(), nullptr, IID_IShellItem,
                                            reinterpret_cast<void**>(folder.out()))))
    dialog->SetFolder(folder.get());
  if (!place.name.empty()) dialog->SetFileName(place.name.c_str());
}

}  // namespace

std::string BrowseForFolder(HWND owner, const std::string& prompt, const std::string& start) {
  const std::wstring title = Widen(prompt);
  Start selection{WithoutTrailingSlash(Widen(start))};
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  if (!selection.folder.empty() && IsFolder(selection.folder)) {
    info.lpfn = SelectStart;
    info.lParam = reinterpret_cast<LPARAM>(&selection);
  }
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
  if (!chosen) return {};
  ComPtr<IShellItem> item;
  SHCreateItemFromIDList(chosen, IID_IShellItem, reinterpret_cast<void**>(item.out()));
  CoTaskMemFree(chosen);
  return FileSystemPath(item.get());
}

std::string BrowseForPicture(HWND owner, const std::string& prompt, const std::string& start) {
  ComPtr<IFileOpenDialog> dialog;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IFileOpenDialog, reinterpret_cast<void**>(dialog.out()))))
    return {};
  const COMDLG_FILTERSPEC types[] = {
      {L"Pictures (*.bmp;*.jpg;*.jpeg;*.gif)", L"*.bmp;*.jpg;*.jpeg;*.gif"},
      {L"All files (*.*)", L"*.*"},
  };
  dialog->SetFileTypes(ARRAYSIZE(types), types);
  dialog->SetFileTypeIndex(1);
  dialog->SetTitle(Widen(prompt).c_str());
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  dialog->SetOptions(options | FOS_FORCEFILESYSTEM | FOS_FILEMUSTEXIST | FOS_PATHMUSTEXIST);
  OpenAt(dialog.get(), Widen(start));
  if (FAILED(dialog->Show(owner))) return {};  // cancelled too
  ComPtr<IShellItem> chosen;
  if (FAILED(dialog->GetResult(chosen.out()))) return {};
  return FileSystemPath(chosen.get());
}

}  // namespace vellumo
