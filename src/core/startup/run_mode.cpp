#include "startup/run_mode.h"

#include "platform/text.h"

namespace vellumo {

bool IsBackgroundSwitch(std::string_view argument_text) {
  return AsciiLower(argument_text) == "-next";
}

}  // namespace vellumo
