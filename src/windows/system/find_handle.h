#pragma once

#include <windows.h>

#include <string>

namespace vellumo {

// A directory search (FindFirstFileExW), closed when it goes out of scope.
class FindHandle {
 public:
  // Starts the search; valid() says whether anything matched, GetLastError() why not.
  explicit FindHandle(const std::wstring& pattern) {
    handle_ = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data_, FindExSearchNameMatch,
                               nullptr, FIND_FIRST_EX_LARGE_FETCH);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  ~FindHandle() {
    if (valid()) FindClose(handle_);
  }

  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  const WIN32_FIND_DATAW& data() const { return data_; }
  bool Next() { return FindNextFileW(handle_, &data_) != 0; }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAW data_{};
};

}  // namespace vellumo
