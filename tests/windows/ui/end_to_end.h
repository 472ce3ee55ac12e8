#pragma once

#include "win.h"

#include <optional>
#include <string>

namespace vellumo::test {

// The program under test as a Windows path (the build passes its Unix path; Wine maps / to Z:).
std::wstring ProgramPath();
// Where the program writes its wallpaper bitmap: next to it (UTF-8).
std::string ProgramBitmapPath();

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

}  // namespace vellumo::test
