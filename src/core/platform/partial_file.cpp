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

namespace {

// `name` is `prefix` + `bitmap_name` + `marker` + six ASCII letters or digits.
bool Matches(std::string_view name, std::string_view prefix, std::string_view bitmap_name,
             std::string_view marker) {
  if (name.size() != prefix.size() + bitmap_name.size() + marker.size() + kPartialSuffixLength)
    return false;
  for (const std::string_view part : {prefix, bitmap_name, marker}) {
    if (!name.starts_with(part)) return false;
    name.remove_prefix(part.size());
  }
  return std::all_of(name.begin(), name.end(), IsAsciiAlnum);
}

}  // namespace

bool IsPartialFileOf(std::string_view name, std::string_view bitmap_name) {
  if (bitmap_name.empty()) return false;
  return Matches(name, "", bitmap_name, kMarker) || Matches(name, ".", bitmap_name, ".");
}

}  // namespace vellumo
