#include "end_to_end.h"

#include <fstream>
#include <vector>

#include "utf.h"

namespace vellumo::testing_support {

std::wstring ProgramPath() {
  std::wstring path = Widen(VELLUMO_PROGRAM);
  if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
  for (auto& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

std::wstring ProgramBitmapPath() {
  const std::wstring program = ProgramPath();
  return program.substr(0, program.find_last_of(L'\\')) + L"\\vellumo.bmp";
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

TempFolder::TempFolder(const std::wstring& name) {
  path_ = std::filesystem::temp_directory_path() /
          (L"vellumo-" + std::to_wstring(GetCurrentProcessId()) + L"-" + name);
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

bool WriteBmp(const std::filesystem::path& file, int width, int height, COLORREF colour) {
  const int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file_header{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(stride * height);
  file_header.bfType = 0x4D42;
  file_header.bfOffBits = sizeof(file_header) + sizeof(info);
  file_header.bfSize = file_header.bfOffBits + info.biSizeImage;

  std::vector<char> row(stride, 0);
  for (int x = 0; x < width; ++x) {
    row[x * 3] = static_cast<char>(GetBValue(colour));
    row[x * 3 + 1] = static_cast<char>(GetGValue(colour));
    row[x * 3 + 2] = static_cast<char>(GetRValue(colour));
  }
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file_header), sizeof(file_header));
  out.write(reinterpret_cast<const char*>(&info), sizeof(info));
  for (int y = 0; y < height; ++y) out.write(row.data(), stride);
  return static_cast<bool>(out);
}

std::optional<BmpHeader> ReadBmpHeader(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  BITMAPFILEHEADER file_header{};
  BITMAPINFOHEADER info{};
  in.read(reinterpret_cast<char*>(&file_header), sizeof(file_header));
  in.read(reinterpret_cast<char*>(&info), sizeof(info));
  if (!in || file_header.bfType != 0x4D42) return std::nullopt;
  return BmpHeader{info.biWidth, info.biHeight < 0 ? -info.biHeight : info.biHeight,
                   info.biBitCount};
}

void WriteUserString(const std::wstring& key, const std::wstring& name, const std::wstring& value) {
  RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), REG_SZ, value.c_str(),
                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

std::optional<std::wstring> ReadUserString(const std::wstring& key, const std::wstring& name) {
  DWORD bytes = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr,
                   &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
  if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                   value.data(), &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.resize(wcsnlen(value.c_str(), value.size()));
  return value;
}

void DeleteUserKey(const std::wstring& key) {
  RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
}

std::wstring Widened(const std::string& utf8) {
  return Widen(utf8);
}

}  // namespace vellumo::testing_support
