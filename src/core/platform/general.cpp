#include "platform/general.h"

#include <stdexcept>

namespace vellumo {

std::string StripExtension(std::string_view name) {
  const auto dot = name.rfind('.');
  if (dot == std::string_view::npos) throw std::invalid_argument("file name without extension");
  return std::string(name.substr(0, dot));
}

}  // namespace vellumo
