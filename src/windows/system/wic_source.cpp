#include "wic_source.h"

#include <algorithm>

#include "gif_screen.h"
#include "platform/bitmap_file.h"
#include "wic_orientation.h"

namespace vellumo {
namespace {

// Widens a GIF's picture to its logical screen. Without the screen's size it stays the frame.
void PlaceOnGifScreen(WicSource& source) {
  const auto screen = ReadGifScreen(source.factory.get(), source.decoder.get(), source.frame.get());
  if (!screen) return;
  source.width = screen->width;
  source.height = screen->height;
  source.on_screen = true;
  source.left = screen->left;
  source.top = screen->top;
  std::copy_n(screen->background, 3, source.background);
}

}  // namespace

HRESULT OpenWicSource(const std::wstring& path, WicSource& source) {
  HRESULT result =
      CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                       IID_IWICImagingFactory, reinterpret_cast<void**>(source.factory.out()));
  if (FAILED(result)) return result;
  if (FAILED(result = WatchedFileStream::Open(path, source.file.out()))) return result;
  result = source.factory->CreateDecoderFromStream(
      source.file.get(), nullptr, WICDecodeMetadataCacheOnDemand, source.decoder.out());
  if (FAILED(result)) return result;
  if (FAILED(result = source.decoder->GetFrame(0, source.frame.out()))) return result;
  if (FAILED(result = source.frame->GetSize(&source.frame_width, &source.frame_height)))
    return result;
  source.width = source.frame_width;
  source.height = source.frame_height;
  PlaceOnGifScreen(source);
  GUID container{};
  source.jpeg = SUCCEEDED(source.decoder->GetContainerFormat(&container)) &&
                IsEqualGUID(container, GUID_ContainerFormatJpeg);
  if (source.jpeg) source.orientation = ReadOrientation(source.frame.get(), path);
  if (!IsSensibleBitmapSize(source.width, source.height) ||
      !IsSensibleBitmapSize(source.frame_width, source.frame_height))
    return WINCODEC_ERR_IMAGESIZEOUTOFRANGE;
  return S_OK;
}

FrameSpan Covered(UINT offset, UINT frame_length, UINT picture_length) {
  if (offset >= picture_length) return {};
  return {offset, offset + std::min(frame_length, picture_length - offset)};
}

}  // namespace vellumo
