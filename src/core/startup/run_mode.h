#pragma once

#include <string_view>

namespace vellumo {

// True when the whole argument text, lower-cased, is exactly "-next".
bool IsBackgroundSwitch(std::string_view argument_text);

}  // namespace vellumo
