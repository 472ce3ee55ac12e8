#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "platform/pictures.h"

namespace vellumo {

// Called once with the picture's pixel size before any row; returning false stops decoding.
using SizeHandler = std::function<bool(PixelSize)>;
// Called once per row with width x 3 bytes, blue-green-red; y = 0 is the top row. Rows come in
// whatever order the file stores them. Returning false stops decoding.
using RowHandler = std::function<bool(int y, std::span<const uint8_t> bgr)>;

// Decodes a BMP, JPEG or GIF file (told apart by their contents, not their names) one row at
// a time. Returns the pixel size when every row was decoded; nothing for a missing, empty,
// truncated, corrupt or absurdly large picture, or when a handler stopped it.
std::optional<PixelSize> DecodePicture(const std::string& path, const SizeHandler& on_size,
                                       const RowHandler& on_row);

}  // namespace vellumo
