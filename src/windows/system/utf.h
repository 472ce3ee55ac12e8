#pragma once

#include <string>
#include <string_view>

namespace vellumo {

// The core holds UTF-8; Windows takes UTF-16. Invalid sequences become U+FFFD.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace vellumo
