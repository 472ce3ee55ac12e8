#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace vellumo {

// Measures the drawn width of a text in pixels.
using TextWidth = std::function<int(std::string_view)>;

// Fits `path` into `width` pixels by replacing leading folders with "...", keeping the last
// component; when even "...\name" is too wide the name itself is cut and ends in "...".
// A path that fits comes back unchanged. For systems without a shell routine of their own.
std::string CompactPath(std::string_view path, int width, char separator, const TextWidth& measure);

}  // namespace vellumo
