#include "partial_files.h"

#include <windows.h>

#include <cstdint>
#include <string_view>

#include "find_handle.h"
#include "long_path.h"
#include "platform/partial_file.h"
#include "utf.h"

namespace vellumo {
namespace {

// Six letters or digits that differ between processes and between calls. Lower case only: the
// file system does not tell "A" from "a".
std::string RandomSuffix(uint64_t seed) {
  // splitmix64: every bit of the seed reaches every bit of the result.
  uint64_t z = seed + 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  z ^= z >> 31;
  constexpr std::string_view kDigits = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string suffix;
  for (size_t i = 0; i < kPartialSuffixLength; ++i, z /= kDigits.size())
    suffix += kDigits[z % kDigits.size()];
  return suffix;
}

uint64_t Seed(int attempt) {
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  return static_cast<uint64_t>(counter.QuadPart) ^ (uint64_t{GetCurrentProcessId()} << 32) ^
         static_cast<uint64_t>(attempt);
}

// True when a new file of that name was made; false, with the reason in GetLastError(), when not.
bool CreateNew(const std::filesystem::path& path) {
  const HANDLE file = CreateFileW(LongPathForm(path.wstring()).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

}  // namespace

std::filesystem::path CreatePartialFile(const std::filesystem::path& target) {
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = L".";
  const std::string bitmap_name = Narrow(target.filename().wstring());
  if (bitmap_name.empty()) return {};
  for (int attempt = 0; attempt < 100; ++attempt) {
    const auto name = PartialFileName(bitmap_name, RandomSuffix(Seed(attempt)));
    const auto path = folder / Widen(name);
    if (CreateNew(path)) return LongPathForm(path.wstring());
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return {};
  }
  return {};
}

void RemoveStalePartials(const std::string& bitmap) {
  const std::filesystem::path target(Widen(bitmap));
  const std::string bitmap_name = Narrow(target.filename().wstring());
  std::filesystem::path folder = target.parent_path();
  if (bitmap_name.empty() || folder.empty()) return;
  FindHandle find(LongPathForm((folder / L"*").wstring()));
  if (!find.valid()) return;
  do {
    const WIN32_FIND_DATAW& data = find.data();
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (!IsPartialFileOf(Narrow(data.cFileName), bitmap_name)) continue;
    DeleteFileW(LongPathForm((folder / data.cFileName).wstring()).c_str());
  } while (find.Next());
}

}  // namespace vellumo
