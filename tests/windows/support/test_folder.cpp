#include "test_folder.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "utf.h"

namespace vellumo::test {
namespace {

std::wstring UniqueFolder(const std::string& name) {
  static int counter = 0;
  wchar_t temp[MAX_PATH];
  const DWORD length = GetTempPathW(MAX_PATH, temp);
  if (length == 0 || length >= MAX_PATH) throw std::runtime_error("no temp folder");
  return std::wstring(temp) + L"vellumo-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(++counter) + (name.empty() ? L"" : L"-" + Widen(name));
}

// Deletes a tree whatever its attributes; a link to a folder is removed, never followed.
void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      const DWORD attributes = data.dwFileAttributes;
      if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        if (!RemoveDirectoryW(path.c_str())) DeleteFileW(path.c_str());
      } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

TestFolder::TestFolder(const std::string& name) {
  const std::wstring folder = UniqueFolder(name);
  RemoveTree(folder);  // left over from an earlier, aborted run
  if (!CreateDirectoryW(folder.c_str(), nullptr)) throw std::runtime_error("no test folder");
  path_ = Narrow(folder);
}

TestFolder::~TestFolder() {
  RemoveTree(Widen(path_));
}

std::string TestFolder::operator/(const std::string& name) const {
  return path_ + "\\" + name;
}

std::string TestFolder::AddFile(const std::string& name, const std::string& bytes) const {
  const std::string path = *this / name;
  WriteAll(path, bytes);
  return path;
}

std::string TestFolder::AddFolder(const std::string& name) const {
  const std::string path = *this / name;
  if (!CreateDirectoryW(Widen(path).c_str(), nullptr))
    throw std::runtime_error("cannot create " + path);
  return path;
}

std::vector<std::string> TestFolder::Names() const {
  std::vector<std::string> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((Widen(path_) + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(Narrow(name));
  } while (FindNextFileW(find, &data));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(std::filesystem::path(Widen(path)), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(std::filesystem::path(Widen(path)), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void SetAttributes(const std::string& path, uint32_t attributes) {
  if (!SetFileAttributesW(Widen(path).c_str(), attributes))
    throw std::runtime_error("cannot set attributes of " + path);
}

}  // namespace vellumo::test
