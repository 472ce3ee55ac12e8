#include "end_to_end.h"

#include "utf.h"

namespace vellumo::test {

std::wstring ProgramPath() {
  std::wstring path = Widen(VELLUMO_PROGRAM);
  if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
  for (auto& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

std::string ProgramBitmapPath() {
  const std::string program = Narrow(ProgramPath());
  return program.substr(0, program.find_last_of('\\')) + "\\vellumo.bmp";
}

Program::Program(const std::wstring& arguments) {
  const std::wstring program = ProgramPath();
  std::wstring command_line = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process_)) {
    process_ = PROCESS_INFORMATION{};
  }
}

Program::~Program() {
  if (!started()) return;
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.hProcess, 99);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

std::optional<DWORD> Program::Wait(DWORD timeout_ms) {
  if (!started() || WaitForSingleObject(process_.hProcess, timeout_ms) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  if (!GetExitCodeProcess(process_.hProcess, &code)) return std::nullopt;
  return code;
}

std::optional<DWORD> RunProgram(const std::wstring& arguments) {
  Program program(arguments);
  return program.Wait();
}

}  // namespace vellumo::test
