#include "platform/partial_file.h"

#include <algorithm>

namespace vellumo {
namespace {

constexpr std::string_view kMarker = ".partial-";

bool IsAsciiAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

std::string PartialFileName(std::string_view bitmap_name, std::string_view suffix) {
  std::string name(bitmap_name);
  name += kMarker;
  name += suffix;
  return name;
}

bool IsPartialFileOf(std::string_view name, std::string_view bitmap_name) {
  if (bitmap_name.empty()) return false;
  if (name.size() != bitmap_name.size() + kMarker.size() + kPartialSuffixLength) return false;
  if (!name.starts_with(bitmap_name)) return false;
  name.remove_prefix(bitmap_name.size());
  if (!name.starts_with(kMarker)) return false;
  name.remove_prefix(kMarker.size());
  return std::all_of(name.begin(), name.end(), IsAsciiAlnum);
}

}  // namespace vellumo
