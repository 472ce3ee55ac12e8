#pragma once

#include <string>
#include <string_view>

namespace vellumo {

// The name without its last dot and what follows: "archive.tar.gif" -> "archive.tar".
// Throws std::invalid_argument for a name without a dot; the file list only yields names that
// match "*.ext" patterns, so every one has one.
std::string StripExtension(std::string_view name);

}  // namespace vellumo
