#include "images/file_list.h"

#include <algorithm>

#include "platform/text.h"

namespace vellumo {
namespace {

bool EndsWithIgnoringCase(std::string_view name, std::string_view suffix) {
  return name.size() >= suffix.size() &&
         EqualsIgnoringCase(name.substr(name.size() - suffix.size()), suffix);
}

bool IsListedFile(const DirEntry& entry) {
  constexpr uint32_t kLeftOut = attr::kDirectory | attr::kHidden | attr::kSystem;
  return (entry.attributes & kLeftOut) == 0 && IsPictureName(entry.name);
}

}  // namespace

bool IsPictureName(std::string_view name) {
  return EndsWithIgnoringCase(name, ".bmp") || EndsWithIgnoringCase(name, ".jpg") ||
         EndsWithIgnoringCase(name, ".jpeg") || EndsWithIgnoringCase(name, ".gif");
}

bool FileList::SetPath(const std::string& folder) {
  path_ = folder;
  names_.clear();
  entries_.clear();
  if (folder.empty() || !files_.List(folder, entries_)) {
    entries_.clear();
    return false;
  }
  for (const auto& entry : entries_)
    if (IsListedFile(entry)) names_.push_back(entry.name);
  std::sort(names_.begin(), names_.end(), [](const std::string& a, const std::string& b) {
    if (EqualsIgnoringCase(a, b)) return a < b;  // a case-sensitive system may hold both
    return LessIgnoringCase(a, b);
  });
  return true;
}

}  // namespace vellumo
