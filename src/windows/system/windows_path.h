#pragma once

#include <string>

namespace vellumo {

// The Windows directory, always ending in a backslash; a lone backslash when the system
// cannot say.
std::string Get_Windows_Path();

}  // namespace vellumo
