#pragma once

#include "win.h"

#include <filesystem>
#include <optional>
#include <string>

namespace vellumo::testing_support {

// The program under test as a Windows path (the build passes its Unix path; Wine maps / to Z:).
std::wstring ProgramPath();
// Where the program writes its wallpaper bitmap: next to it.
std::wstring ProgramBitmapPath();

// One run of the program; a run still going when the object goes is ended.
class Program {
 public:
  explicit Program(const std::wstring& arguments);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool started() const { return process_.hProcess != nullptr; }
  DWORD id() const { return process_.dwProcessId; }
  // The exit code, or nothing when it did not end in time.
  std::optional<DWORD> Wait(DWORD timeout_ms = 60000);

 private:
  PROCESS_INFORMATION process_{};
};

// Runs the program to its end; its exit code, or nothing when it did not start or end.
std::optional<DWORD> RunProgram(const std::wstring& arguments);

// A new empty folder under the temp folder; removed with its contents when the object goes.
class TempFolder {
 public:
  explicit TempFolder(const std::wstring& name);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Writes a 24-bit bottom-up BMP of one colour.
bool WriteBmp(const std::filesystem::path& file, int width, int height, COLORREF colour);

// Width, height and bits per pixel of a BMP file's header.
struct BmpHeader {
  int width = 0;
  int height = 0;
  int bits = 0;
};
std::optional<BmpHeader> ReadBmpHeader(const std::filesystem::path& file);

// REG_SZ values under HKEY_CURRENT_USER.
void WriteUserString(const std::wstring& key, const std::wstring& name, const std::wstring& value);
std::optional<std::wstring> ReadUserString(const std::wstring& key, const std::wstring& name);
void DeleteUserKey(const std::wstring& key);

std::wstring Widened(const std::string& utf8);

}  // namespace vellumo::testing_support
