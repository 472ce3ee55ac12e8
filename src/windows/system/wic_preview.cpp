#include "wic_preview.h"

#include <wincodec.h>
#include <windows.h>

#include <algorithm>
#include <new>

#include "com_ptr.h"
#include "long_path.h"
#include "utf.h"
#include "wic_orientation.h"
#include "wic_source.h"

namespace vellumo {
namespace {

// IWICBitmapSourceTransform, which MinGW-w64's <wincodec.h> leaves out: the system's layout and
// interface id, under a name of our own so that a header that has it does not clash.
struct SourceTransform : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height,
                                               WICPixelFormatGUID* format,
                                               WICBitmapTransformOptions transform, UINT stride,
                                               UINT buffer_size, BYTE* buffer) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
  virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform,
                                                         BOOL* supported) = 0;
};
constexpr IID kSourceTransformId = {
    0x3b16811b, 0x6a43, 0x4ec9, {0xb7, 0x13, 0x3d, 0x5a, 0x0c, 0x13, 0xb9, 0x40}};

struct Size {
  UINT width = 0;
  UINT height = 0;
};

Size PictureSize(const WicSource& source) {
  return {source.width, source.height};
}

Size FrameSize(const WicSource& source) {
  return {source.frame_width, source.frame_height};
}

// `length` scaled by to / from, rounded to the nearest whole number.
UINT Scale(UINT length, UINT to, UINT from) {
  return static_cast<UINT>((uint64_t{length} * to * 2 + from) / (uint64_t{from} * 2));
}

// The size wanted, within the picture and never empty.
Size Wanted(Size picture, const WantedSize& wanted) {
  const PixelSize want =
      wanted({static_cast<int>(picture.width), static_cast<int>(picture.height)});
  return {std::clamp<UINT>(static_cast<UINT>(std::max(want.width, 1)), 1, picture.width),
          std::clamp<UINT>(static_cast<UINT>(std::max(want.height, 1)), 1, picture.height)};
}

// A size the decoder can decode to directly that covers `target` and is smaller than the frame.
// Its sizes are the frame's halves, quarters and eighths: whether GetClosestSize rounds up, down
// or to the nearest, asking for twice the target finds one when asking for the target does not.
std::optional<Size> ReducedSize(SourceTransform* transform, Size frame, Size target) {
  for (const UINT factor : {1u, 2u}) {
    Size size{std::min(target.width * factor, frame.width),
              std::min(target.height * factor, frame.height)};
    if (FAILED(transform->GetClosestSize(&size.width, &size.height))) return std::nullopt;
    if (size.width < target.width || size.height < target.height) continue;
    if (uint64_t{size.width} * size.height >= uint64_t{frame.width} * frame.height) break;
    return size;
  }
  return std::nullopt;
}

// The JPEG decoder's own reduced decoding (DCT scaling: it skips most of the work and never holds
// the whole picture), into a small bitmap. False where WIC does not offer it (Wine's does not).
bool DecodeReduced(WicSource& source, Size target, ComPtr<IWICBitmap>& reduced) {
  ComPtr<SourceTransform> transform;
  if (FAILED(source.frame->QueryInterface(kSourceTransformId,
                                          reinterpret_cast<void**>(transform.out()))))
    return false;
  const auto size = ReducedSize(transform.get(), FrameSize(source), target);
  if (!size) return false;
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
  if (FAILED(transform->GetClosestPixelFormat(&format))) return false;
  if (FAILED(source.factory->CreateBitmap(size->width, size->height, format, WICBitmapCacheOnLoad,
                                          reduced.out())))
    return false;
  // The lock must be gone before the bitmap is read: it ends with this function.
  ComPtr<IWICBitmapLock> lock;
  const WICRect all{0, 0, static_cast<INT>(size->width), static_cast<INT>(size->height)};
  if (FAILED(reduced->Lock(&all, WICBitmapLockWrite, lock.out()))) return false;
  UINT stride = 0, bytes = 0;
  BYTE* data = nullptr;
  if (FAILED(lock->GetStride(&stride)) || FAILED(lock->GetDataPointer(&bytes, &data))) return false;
  return SUCCEEDED(transform->CopyPixels(nullptr, size->width, size->height, &format,
                                         WICBitmapTransformRotate0, stride, bytes, data));
}

// `from` converted to `format` (32 bits a pixel) and scaled to `to`, top-down rows. Both steps
// pull rows from the source as they go; only the result is held whole.
bool ScaleInto(WicSource& source, IWICBitmapSource* from, Size to, const WICPixelFormatGUID& format,
               std::vector<uint8_t>& pixels) {
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(source.factory->CreateFormatConverter(converter.out()))) return false;
  if (FAILED(converter->Initialize(from, format, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)))
    return false;
  ComPtr<IWICBitmapScaler> scaler;
  if (FAILED(source.factory->CreateBitmapScaler(scaler.out()))) return false;
  if (FAILED(
          scaler->Initialize(converter.get(), to.width, to.height, WICBitmapInterpolationModeFant)))
    return false;
  // A row at a time, top to bottom, as scalers expect: asked for the whole result at once, some
  // (Wine's) fetch every source pixel it needs into one buffer first, as large as the picture.
  const UINT stride = to.width * 4;
  pixels.resize(size_t{stride} * to.height);
  for (UINT y = 0; y < to.height; ++y) {
    const WICRect row{0, static_cast<INT>(y), static_cast<INT>(to.width), 1};
    if (FAILED(scaler->CopyPixels(&row, stride, stride, pixels.data() + size_t{stride} * y)))
      return false;
  }
  return true;
}

bool DrawFrame(WicSource& source, Size size, std::vector<uint8_t>& pixels) {
  ComPtr<IWICBitmap> reduced;
  IWICBitmapSource* from = source.frame.get();
  if (source.jpeg && DecodeReduced(source, size, reduced)) from = reduced.get();
  if (!ScaleInto(source, from, size, GUID_WICPixelFormat32bppBGR, pixels)) return false;
  // The fourth byte of 32bppBGR is left undefined.
  for (size_t i = 3; i < pixels.size(); i += 4) pixels[i] = 255;
  return true;
}

// Where a span lands on a scaled picture: at least one pixel long, and inside.
struct Run {
  UINT start;
  UINT length;
};

Run Placed(FrameSpan span, UINT picture_length, UINT scaled_length) {
  const UINT first = Scale(span.first, scaled_length, picture_length);
  const UINT length = std::max(1u, Scale(span.last, scaled_length, picture_length) - first);
  return {std::min(first, scaled_length - length), length};
}

std::vector<uint8_t> Canvas(Size size, const uint8_t (&background)[3]) {
  std::vector<uint8_t> canvas(size_t{size.width} * size.height * 4, 255);
  for (size_t i = 0; i < canvas.size(); i += 4) std::copy_n(background, 3, canvas.data() + i);
  return canvas;
}

// `part` (premultiplied blue-green-red-alpha, x.length by y.length) over the canvas.
void Blend(const std::vector<uint8_t>& part, Run x, Run y, std::vector<uint8_t>& canvas,
           UINT canvas_width) {
  const uint8_t* from = part.data();
  for (UINT row = 0; row < y.length; ++row) {
    uint8_t* to = canvas.data() + (size_t{y.start + row} * canvas_width + x.start) * 4;
    for (UINT column = 0; column < x.length; ++column, from += 4, to += 4) {
      const int keep = 255 - from[3];
      for (int c = 0; c < 3; ++c)
        to[c] = static_cast<uint8_t>(std::min(255, from[c] + (to[c] * keep + 127) / 255));
    }
  }
}

// A GIF's screen: the part of the frame on it, scaled as the screen is, over the background.
bool DrawScreen(WicSource& source, Size size, std::vector<uint8_t>& pixels) {
  pixels = Canvas(size, source.background);
  const FrameSpan columns = Covered(source.left, source.frame_width, source.width);
  const FrameSpan rows = Covered(source.top, source.frame_height, source.height);
  if (columns.empty() || rows.empty()) return true;
  ComPtr<IWICBitmapClipper> clipper;
  const WICRect visible{0, 0, static_cast<INT>(columns.last - columns.first),
                        static_cast<INT>(rows.last - rows.first)};
  if (FAILED(source.factory->CreateBitmapClipper(clipper.out()))) return false;
  if (FAILED(clipper->Initialize(source.frame.get(), &visible))) return false;
  const Run x = Placed(columns, source.width, size.width);
  const Run y = Placed(rows, source.height, size.height);
  std::vector<uint8_t> part;
  if (!ScaleInto(source, clipper.get(), {x.length, y.length}, GUID_WICPixelFormat32bppPBGRA, part))
    return false;
  Blend(part, x, y, pixels, size.width);
  return true;
}

Size Swapped(Size size) {
  return {size.height, size.width};
}

// A photo is shown as its camera recorded it should be seen: fitted upright, decoded as stored,
// then turned.
std::optional<PreviewPixels> Decode(const std::wstring& path, const WantedSize& wanted,
                                    const PreviewShortcut& shortcut) {
  WicSource source;
  if (FAILED(OpenWicSource(path, source))) return std::nullopt;
  const int orientation = source.orientation;
  const bool swapped = SwapsSides(orientation);
  const Size upright = swapped ? Swapped(PictureSize(source)) : PictureSize(source);
  Size size = Wanted(upright, wanted);
  const PixelSize full_size{static_cast<int>(upright.width), static_cast<int>(upright.height)};
  if (shortcut) {
    const PixelSize want{static_cast<int>(size.width), static_cast<int>(size.height)};
    if (auto found = shortcut(full_size, want)) return found;
  }
  if (swapped) size = Swapped(size);
  std::vector<uint8_t> pixels;
  const bool drawn =
      source.on_screen ? DrawScreen(source, size, pixels) : DrawFrame(source, size, pixels);
  if (!drawn) return std::nullopt;
  if (!TurnUpright(orientation, size.width, size.height, pixels)) return std::nullopt;
  return PreviewPixels{full_size, static_cast<int>(size.width), static_cast<int>(size.height),
                       std::move(pixels)};
}

}  // namespace

std::optional<PreviewPixels> DecodePreview(const std::string& path, const WantedSize& wanted,
                                           const PreviewShortcut& shortcut) {
  if (path.empty() || !wanted) return std::nullopt;
  try {
    return Decode(LongPathForm(Widen(path)), wanted, shortcut);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace vellumo
