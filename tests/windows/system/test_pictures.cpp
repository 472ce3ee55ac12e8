#include "test_pictures.h"

#include <wincodec.h>

#include <cstdlib>

#include "com_ptr.h"
#include "utf.h"

namespace vellumo::test {
namespace {

int Distance(Rgb a, Rgb b) {
  return abs(a.r - b.r) + abs(a.g - b.g) + abs(a.b - b.b);
}

struct Encoder {
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  ComPtr<IWICBitmapFrameEncode> frame;
  ComPtr<IPropertyBag2> options;
};

bool StartFrame(Encoder& e, const std::string& path, const GUID& container, int width, int height,
                WICPixelFormatGUID format) {
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, reinterpret_cast<void**>(e.factory.out()))))
    return false;
  if (FAILED(e.factory->CreateStream(e.stream.out()))) return false;
  if (FAILED(e.stream->InitializeFromFilename(Widen(path).c_str(), GENERIC_WRITE))) return false;
  if (FAILED(e.factory->CreateEncoder(container, nullptr, e.encoder.out()))) return false;
  if (FAILED(e.encoder->Initialize(e.stream.get(), WICBitmapEncoderNoCache))) return false;
  if (FAILED(e.encoder->CreateNewFrame(e.frame.out(), e.options.out()))) return false;
  if (FAILED(e.frame->Initialize(e.options.get()))) return false;
  if (FAILED(e.frame->SetSize(width, height))) return false;
  const WICPixelFormatGUID wanted = format;
  return SUCCEEDED(e.frame->SetPixelFormat(&format)) && IsEqualGUID(format, wanted);
}

bool Finish(Encoder& e, int height, UINT stride, std::vector<BYTE>& data) {
  if (FAILED(e.frame->WritePixels(height, stride, static_cast<UINT>(data.size()), data.data())))
    return false;
  return SUCCEEDED(e.frame->Commit()) && SUCCEEDED(e.encoder->Commit());
}

}  // namespace

bool EncodeJpeg(const std::string& path, int width, int height, const PixelAt& pixel) {
  Encoder e;
  if (!StartFrame(e, path, GUID_ContainerFormatJpeg, width, height, GUID_WICPixelFormat24bppBGR))
    return false;
  const UINT stride = static_cast<UINT>(width) * 3;
  std::vector<BYTE> data(static_cast<size_t>(stride) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const Rgb c = pixel(x, y);
      BYTE* p = &data[static_cast<size_t>(y) * stride + x * 3];
      p[0] = c.b, p[1] = c.g, p[2] = c.r;
    }
  return Finish(e, height, stride, data);
}

bool EncodeGif(const std::string& path, int width, int height, const std::vector<Rgb>& palette,
               const PixelAt& pixel) {
  Encoder e;
  if (!StartFrame(e, path, GUID_ContainerFormatGif, width, height, GUID_WICPixelFormat8bppIndexed))
    return false;
  std::vector<WICColor> colours;
  for (const Rgb& c : palette)
    colours.push_back(0xFF000000u | (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b);
  ComPtr<IWICPalette> wic_palette;
  if (FAILED(e.factory->CreatePalette(wic_palette.out()))) return false;
  if (FAILED(wic_palette->InitializeCustom(colours.data(), static_cast<UINT>(colours.size()))))
    return false;
  if (FAILED(e.frame->SetPalette(wic_palette.get()))) return false;

  std::vector<BYTE> data(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      size_t best = 0;
      for (size_t i = 1; i < palette.size(); ++i)
        if (Distance(palette[i], pixel(x, y)) < Distance(palette[best], pixel(x, y))) best = i;
      data[static_cast<size_t>(y) * width + x] = static_cast<BYTE>(best);
    }
  return Finish(e, height, static_cast<UINT>(width), data);
}

std::string WithOrientation(std::string jpeg, int orientation) {
  const unsigned char segment[] = {0xFF,
                                   0xE1,
                                   0,
                                   34,
                                   'E',
                                   'x',
                                   'i',
                                   'f',
                                   0,
                                   0,
                                   'I',
                                   'I',
                                   42,
                                   0,
                                   8,
                                   0,
                                   0,
                                   0,
                                   1,
                                   0,
                                   0x12,
                                   0x01,
                                   3,
                                   0,
                                   1,
                                   0,
                                   0,
                                   0,
                                   static_cast<unsigned char>(orientation),
                                   0,
                                   0,
                                   0,
                                   0,
                                   0,
                                   0,
                                   0};
  jpeg.insert(2, reinterpret_cast<const char*>(segment), sizeof(segment));
  return jpeg;
}

}  // namespace vellumo::test
