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

int CALLBACK SelectStart(HWND dialog, UINT message, LPARAM, LPARAM start) {
  if (message == BFFM_INITIALIZED && start) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, start);
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
  const std::wstring folder = WithoutTrailingSlash(Widen(start));
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = SelectStart;
  if (!folder.empty() && IsFolder(folder)) info.lParam = reinterpret_cast<LPARAM>(folder.c_str());
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
