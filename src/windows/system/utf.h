#pragma once

#include <string>
#include <string_view>

namespace vellumo {

// The core holds UTF-8; Windows takes UTF-16. Widen turns invalid sequences into U+FFFD.
std::wstring Widen(std::string_view utf8);
// Empty for text that has no UTF-8 form (an unpaired surrogate): a name changed on the way
// would name a different file, or none.
std::string Narrow(std::wstring_view utf16);

}  // namespace vellumo
