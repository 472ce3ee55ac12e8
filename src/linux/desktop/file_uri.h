#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vellumo {

// "file://" and the absolute path with every byte outside the unreserved set and '/' written as
// %XX, so spaces, '#', '%', accents and any other script survive.
std::string FileUri(std::string_view absolute_path);

// The same file spelled differently: the first byte of the file name that can be spelled
// another way is (an unreserved byte escaped, an escape's hex digits in lower case). It never
// equals FileUri(), yet names the same file.
std::string AlternateFileUri(std::string_view absolute_path);

// The same file spelled differently as a plain path: "/x/./name" for "/x/name".
std::string AlternatePath(std::string_view absolute_path);

// The text form of a GVariant string, as gsettings reads and prints it: single quotes, with
// quotes, backslashes and control characters escaped.
std::string QuoteGVariantString(std::string_view text);

// Reads the printed form of a GVariant string (single or double quotes, backslash escapes,
// \uXXXX); nothing when `printed` is not a string.
std::optional<std::string> ParseGVariantString(std::string_view printed);

}  // namespace vellumo
