#include "wic_failure.h"

#include <wincodec.h>

#include "system_message.h"

namespace vellumo {
namespace {

bool UnknownFormat(HRESULT result) {
  return result == WINCODEC_ERR_COMPONENTNOTFOUND || result == WINCODEC_ERR_UNKNOWNIMAGEFORMAT;
}

bool CutShort(HRESULT result, const WatchedFileStream& file) {
  // Decoders often answer a file that ends too soon with a plain failure: the stream knows.
  return file.reached_end() || result == WINCODEC_ERR_STREAMREAD ||
         result == HRESULT_FROM_WIN32(ERROR_HANDLE_EOF);
}

}  // namespace

std::string DecodeFailure(HRESULT result, const WatchedFileStream& file) {
  if (FAILED(file.read_error())) {
    const std::string words = SystemMessageOf(file.read_error());
    return words.empty() ? "read error" : words;
  }
  if (UnknownFormat(result))
    return file.size() == 0 ? "empty file" : "not a picture (BMP, JPEG or GIF)";
  // Refused for its size before reading on: nothing was cut.
  if (result != WINCODEC_ERR_IMAGESIZEOUTOFRANGE && CutShort(result, file)) return "cut short";
  return "damaged or too large";
}

}  // namespace vellumo
