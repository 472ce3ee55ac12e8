#include "log_file_report.h"

#include <windows.h>

// <windows.h> maps ReplaceFile to the system's ReplaceFileW; ours is the core's.
#undef ReplaceFile

#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>

#include "partial_files.h"
#include "platform/bitmap_file.h"
#include "utf.h"

namespace vellumo {
namespace {

// A file handle, closed when it goes out of scope.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (valid()) CloseHandle(handle_);
  }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

std::string Stamped(const std::string& line) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  char stamp[32];
  std::snprintf(stamp, sizeof(stamp), "%04u-%02u-%02u %02u:%02u:%02u  ", now.wYear, now.wMonth,
                now.wDay, now.wHour, now.wMinute, now.wSecond);
  std::string text = stamp + line;
  // One line per message, whatever the message holds.
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  return text + "\r\n";
}

bool WriteAll(HANDLE file, const std::string& bytes) {
  DWORD written = 0;
  return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

// Appends the line; the file's size after it, or nothing when it could not be written.
std::optional<int64_t> Append(const std::wstring& path, const std::string& text) {
  // Appends from two programs at once (a run at logon and the window) land whole.
  FileHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid() || !WriteAll(file.get(), text)) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return std::nullopt;
  return size.QuadPart;
}

// The last `count` bytes of the file, or all of a shorter one.
std::optional<std::string> ReadTail(const std::wstring& path, int64_t count) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file.valid() || !GetFileSizeEx(file.get(), &size)) return std::nullopt;
  LARGE_INTEGER from{};
  from.QuadPart = size.QuadPart > count ? size.QuadPart - count : 0;
  if (!SetFilePointerEx(file.get(), from, nullptr, FILE_BEGIN)) return std::nullopt;
  std::string bytes(static_cast<size_t>(size.QuadPart - from.QuadPart), '\0');
  DWORD read = 0;
  if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
    return std::nullopt;
  bytes.resize(read);
  return bytes;
}

// The lines that start in the newest half of the log. `tail` is that half and the byte before
// it, so a line starting right at the half is seen to. A last line longer than the half keeps
// its end.
std::string NewestLines(const std::string& tail) {
  const size_t end_of_line = tail.find('\n');
  if (end_of_line == std::string::npos || end_of_line + 1 >= tail.size()) return tail.substr(1);
  return tail.substr(end_of_line + 1);
}

// Replaced as a whole, so a reader never sees half a log.
void Shorten(const std::wstring& path) {
  const auto tail = ReadTail(path, LogFileReport::kMaxLogBytes / 2 + 1);
  if (!tail || tail->empty()) return;
  const std::filesystem::path target(path);
  const std::filesystem::path temp = CreatePartialFile(target);
  if (temp.empty()) return;
  bool written = false;
  {
    FileHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    written = file.valid() && WriteAll(file.get(), NewestLines(*tail));
  }
  if (!written || !ReplaceFile(temp, target)) DeleteFileW(temp.c_str());
}

}  // namespace

void LogFileReport::Say(const std::string& line) {
  if (path_.empty()) return;
  try {
    const std::wstring path = Widen(path_);
    CreateDirectoryW(std::filesystem::path(path).parent_path().c_str(), nullptr);
    const auto size = Append(path, Stamped(line));
    if (size && *size > kMaxLogBytes) Shorten(path);
  } catch (const std::exception&) {
    // Out of memory for a line of text: the run goes on unlogged.
  }
}

}  // namespace vellumo
