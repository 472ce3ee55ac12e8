#include "gif_screen.h"

#include "com_ptr.h"

namespace vellumo {
namespace {

// A whole number held under `name`, if there is one.
std::optional<UINT> ReadNumber(IWICMetadataQueryReader* reader, const wchar_t* name) {
  PROPVARIANT value;
  PropVariantInit(&value);
  if (FAILED(reader->GetMetadataByName(name, &value))) return std::nullopt;
  std::optional<UINT> number;
  if (value.vt == VT_UI1) number = value.bVal;
  if (value.vt == VT_UI2) number = value.uiVal;
  if (value.vt == VT_UI4) number = value.ulVal;
  if (value.vt == VT_BOOL) number = value.boolVal != VARIANT_FALSE ? 1 : 0;
  PropVariantClear(&value);
  return number;
}

// The colour at `index` of the global colour table; black when there is no such colour.
void ReadBackground(IWICImagingFactory* factory, IWICBitmapDecoder* decoder, UINT index,
                    GifScreen& screen) {
  ComPtr<IWICPalette> palette;
  if (FAILED(factory->CreatePalette(palette.out()))) return;
  if (FAILED(decoder->CopyPalette(palette.get()))) return;
  WICColor colours[256];
  UINT count = 0;
  if (FAILED(palette->GetColors(256, colours, &count)) || index >= count) return;
  for (int i = 0; i < 3; ++i) screen.background[i] = static_cast<uint8_t>(colours[index] >> 8 * i);
}

bool IsGif(IWICBitmapDecoder* decoder) {
  GUID format{};
  return SUCCEEDED(decoder->GetContainerFormat(&format)) &&
         IsEqualGUID(format, GUID_ContainerFormatGif);
}

}  // namespace

std::optional<GifScreen> ReadGifScreen(IWICImagingFactory* factory, IWICBitmapDecoder* decoder,
                                       IWICBitmapFrameDecode* frame) {
  if (!IsGif(decoder)) return std::nullopt;
  ComPtr<IWICMetadataQueryReader> reader;
  if (FAILED(decoder->GetMetadataQueryReader(reader.out()))) return std::nullopt;
  const auto width = ReadNumber(reader.get(), L"/logscrdesc/Width");
  const auto height = ReadNumber(reader.get(), L"/logscrdesc/Height");
  if (!width || !height || *width == 0 || *height == 0) return std::nullopt;
  GifScreen screen;
  screen.width = *width;
  screen.height = *height;

  ComPtr<IWICMetadataQueryReader> image;
  if (SUCCEEDED(frame->GetMetadataQueryReader(image.out()))) {
    screen.left = ReadNumber(image.get(), L"/imgdesc/Left").value_or(0);
    screen.top = ReadNumber(image.get(), L"/imgdesc/Top").value_or(0);
  }
  if (ReadNumber(reader.get(), L"/logscrdesc/GlobalColorTableFlag").value_or(0) == 0) return screen;
  if (const auto index = ReadNumber(reader.get(), L"/logscrdesc/BackgroundColorIndex"))
    ReadBackground(factory, decoder, *index, screen);
  return screen;
}

}  // namespace vellumo
