#pragma once

#include <windows.h>

#include <string>

#include "watched_file_stream.h"

namespace vellumo {

// Why WIC gave no pixels for the picture read from `file`, `result` being the decoder's answer:
// the system's words for a read that failed, ours for the rest (matching the other decoders of
// the program): "empty file", "not a picture (BMP, JPEG or GIF)", "cut short" when the file
// ended first, and "damaged or too large".
std::string DecodeFailure(HRESULT result, const WatchedFileStream& file);

}  // namespace vellumo
