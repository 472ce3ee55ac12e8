#pragma once

#include <optional>
#include <string>
#include <vector>

#include "bitmap24.h"

namespace vellumo::test {

// The picture in a PNG file, read by libpng (which checks every chunk's CRC and the data's
// Adler-32); nothing when libpng refuses the file.
std::optional<Picture> ReadPng(const std::string& path);

// Writes `picture` as a PNG with libpng, in one of its simplified formats (PNG_FORMAT_...).
void WritePng(const std::string& path, const Picture& picture, unsigned format);

// The names in `folder` that start with `prefix`, sorted.
std::vector<std::string> NamesStartingWith(const std::string& folder, const std::string& prefix);

}  // namespace vellumo::test
