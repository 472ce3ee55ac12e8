#include "test_pictures.h"

#include <wincodec.h>

#include <cstring>

#include "com_ptr.h"
#include "utf.h"

namespace vellumo::test {
namespace {

void Put(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

uint32_t Get(const std::string& in, size_t at, int bytes) {
  uint32_t value = 0;
  for (int i = 0; i < bytes; ++i)
    value |= static_cast<uint32_t>(static_cast<uint8_t>(in[at + i])) << (8 * i);
  return value;
}

int Stride(int width) {
  return (width * 3 + 3) & ~3;
}

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

std::string MakeBmpHeaders(int width, int height, int data_bytes) {
  const uint32_t image = static_cast<uint32_t>(int64_t{Stride(width)} * height);
  std::string out = "BM";
  Put(out, 54 + image, 4);
  Put(out, 0, 4);
  Put(out, 54, 4);
  Put(out, 40, 4);
  Put(out, static_cast<uint32_t>(width), 4);
  Put(out, static_cast<uint32_t>(height), 4);
  Put(out, 1, 2);
  Put(out, 24, 2);
  Put(out, 0, 4);
  Put(out, image, 4);
  Put(out, 2835, 4);
  Put(out, 2835, 4);
  Put(out, 0, 4);
  Put(out, 0, 4);
  out.append(static_cast<size_t>(data_bytes), '\0');
  return out;
}

std::string MakeBmp24(int width, int height, const PixelAt& pixel) {
  std::string out = MakeBmpHeaders(width, height, 0);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const Rgb c = pixel(x, y);
      out += {static_cast<char>(c.b), static_cast<char>(c.g), static_cast<char>(c.r)};
    }
    out.append(static_cast<size_t>(Stride(width) - width * 3), '\0');
  }
  return out;
}

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

bool ParseBmp24(const std::string& bytes, Bitmap& bitmap) {
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return false;
  const uint32_t offset = Get(bytes, 10, 4);
  bitmap.width = static_cast<int32_t>(Get(bytes, 18, 4));
  const auto height = static_cast<int32_t>(Get(bytes, 22, 4));
  bitmap.bits = static_cast<int>(Get(bytes, 28, 2));
  if (bitmap.bits != 24 || Get(bytes, 30, 4) != 0 || bitmap.width <= 0 || height == 0) return false;
  bitmap.height = height < 0 ? -height : height;
  const size_t stride = static_cast<size_t>(Stride(bitmap.width));
  if (bytes.size() < offset + stride * bitmap.height) return false;
  bitmap.pixels.clear();
  for (int y = 0; y < bitmap.height; ++y) {
    const int stored_row = height > 0 ? bitmap.height - 1 - y : y;
    const size_t row = offset + stride * stored_row;
    for (int x = 0; x < bitmap.width; ++x) {
      const auto* p = reinterpret_cast<const uint8_t*>(bytes.data() + row + x * 3);
      bitmap.pixels.push_back({p[2], p[1], p[0]});
    }
  }
  return true;
}

}  // namespace vellumo::test
