#include "command_line.h"

namespace vellumo {
namespace {

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t';
}

}  // namespace

std::wstring_view ArgumentText(std::wstring_view command_line) {
  std::size_t pos = 0;
  if (!command_line.empty() && command_line[0] == L'"') {
    // A quoted path ends at the next quote (paths cannot hold quotes), as the C run-time reads it.
    const auto close = command_line.find(L'"', 1);
    pos = close == std::wstring_view::npos ? command_line.size() : close + 1;
  } else {
    while (pos < command_line.size() && !IsBlank(command_line[pos])) ++pos;
  }
  while (pos < command_line.size() && IsBlank(command_line[pos])) ++pos;
  return command_line.substr(pos);
}

}  // namespace vellumo
