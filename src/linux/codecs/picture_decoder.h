#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "platform/pictures.h"

namespace vellumo {

// Called once with the picture's upright pixel size before any row; returns the smallest size
// the caller needs. A format that can scale while it decodes (JPEG) then hands on_size and
// on_row a smaller picture that is still at least that big; the others stay at full size.
using ScaleHandler = std::function<PixelSize(PixelSize full)>;

// Decodes a BMP, JPEG or GIF file (told apart by their contents, not their names) one row at
// a time. Returns the pixel size when every row was decoded; nothing for a missing, empty,
// truncated, corrupt or absurdly large picture, or when a handler stopped it. Without a
// `scale` handler the picture comes at its full size. `why`, when given, then says what was
// wrong with the file ("Permission denied", "not a picture", "cut short"), or is left empty
// when a handler stopped it.
std::optional<PixelSize> DecodePicture(const std::string& path, const SizeHandler& on_size,
                                       const RowHandler& on_row, const ScaleHandler& scale = {},
                                       std::string* why = nullptr);

// The picture's upright pixel size, read from its header without decoding its pixels; nothing
// for a file DecodePicture cannot read.
std::optional<PixelSize> ReadPictureSize(const std::string& path);

// Decodes a file handed to a desktop as its wallpaper: the PNG the converter writes (any PNG
// that is not interlaced, in fact), or any picture DecodePicture reads.
std::optional<PixelSize> DecodeWallpaper(const std::string& path, const SizeHandler& on_size,
                                         const RowHandler& on_row);

}  // namespace vellumo
