#pragma once

#include <string>
#include <string_view>

namespace vellumo {

// `text` without the spaces and tabs around it.
std::string_view TrimBlanks(std::string_view text);

std::string AsciiLower(std::string_view text);

// Order and equality of names without regard to (ASCII) letter case, as the file list sorts.
bool LessIgnoringCase(std::string_view a, std::string_view b);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// folder + separator + name, without doubling a separator the folder already ends with, so a
// picture gets the same path string in every build.
std::string JoinPath(std::string_view folder, std::string_view name, char separator);

bool EndsWithSeparator(std::string_view path, char separator);

}  // namespace vellumo
