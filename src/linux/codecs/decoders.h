#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>

#include "picture_decoder.h"

// The per-format decoders behind DecodePicture. Each reads from a stream positioned at the
// start of the file, so a memory stream (fmemopen) serves as well as a file.
namespace vellumo::codecs {

std::optional<PixelSize> DecodeBmp(std::FILE* file, const SizeHandler& on_size,
                                   const RowHandler& on_row);
std::optional<PixelSize> DecodeJpeg(std::FILE* file, const SizeHandler& on_size,
                                    const RowHandler& on_row, const ScaleHandler& scale = {});
std::optional<PixelSize> DecodeGif(std::FILE* file, const SizeHandler& on_size,
                                   const RowHandler& on_row);
// Not a source picture format: the reader of the wallpaper file we write (see DecodeWallpaper).
std::optional<PixelSize> DecodePng(std::FILE* file, const SizeHandler& on_size,
                                   const RowHandler& on_row);

// Tells the format from the first bytes and hands the stream to its decoder.
std::optional<PixelSize> DecodePictureStream(std::FILE* file, const SizeHandler& on_size,
                                             const RowHandler& on_row,
                                             const ScaleHandler& scale = {});

// True when a picture of this size may be decoded: sensible as a bitmap and accepted by the
// caller. Decoders ask before allocating anything that grows with the picture.
bool AcceptSize(int64_t width, int64_t height, const SizeHandler& on_size);

}  // namespace vellumo::codecs
