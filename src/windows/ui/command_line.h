#pragma once

#include <string_view>

namespace vellumo {

// The argument text of a command line: what follows the program's own path (quoted, or up to
// the first blank) and the blanks after it. Trailing text is kept as it is.
std::wstring_view ArgumentText(std::wstring_view command_line);

}  // namespace vellumo
