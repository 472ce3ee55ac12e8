#include "wic_orientation.h"

#include "com_ptr.h"
#include "platform/exif_orientation.h"
#include "platform/upright_rows.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace vellumo {

namespace {

std::optional<int> MetadataOrientation(IWICBitmapFrameDecode* frame) {
  ComPtr<IWICMetadataQueryReader> reader;
  if (FAILED(frame->GetMetadataQueryReader(reader.out()))) return std::nullopt;
  PROPVARIANT value;
  PropVariantInit(&value);
  if (FAILED(reader->GetMetadataByName(L"/app1/ifd/{ushort=274}", &value))) return std::nullopt;
  std::optional<int> orientation;
  if (value.vt == VT_UI2) orientation = value.uiVal;
  PropVariantClear(&value);
  return orientation;
}

int FileOrientation(const std::wstring& path) {
  constexpr DWORD kHeadBytes = 64 * 1024;  // the segments before the picture data
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  std::vector<uint8_t> head(kHeadBytes);
  DWORD read = 0;
  const BOOL ok = ReadFile(file, head.data(), kHeadBytes, &read, nullptr);
  CloseHandle(file);
  if (!ok) return 1;
  head.resize(read);
  return JpegOrientation(head);
}

}  // namespace

int ReadOrientation(IWICBitmapFrameDecode* frame, const std::wstring& path) {
  const int orientation = MetadataOrientation(frame).value_or(FileOrientation(path));
  return orientation >= 1 && orientation <= 8 ? orientation : 1;
}

bool TurnUpright(int orientation, UINT& width, UINT& height, std::vector<uint8_t>& pixels) {
  if (orientation == 1) return true;
  std::vector<uint8_t> turned;
  size_t stride = 0;
  const SizeHandler on_size = [&](PixelSize size) {
    stride = size_t{4} * static_cast<size_t>(size.width);
    turned.resize(stride * static_cast<size_t>(size.height));
    return true;
  };
  const RowHandler on_row = [&](int y, std::span<const uint8_t> row) {
    std::copy(row.begin(), row.end(), turned.begin() + static_cast<ptrdiff_t>(stride) * y);
    return true;
  };
  UprightRows upright(on_size, on_row, 4);
  upright.SetOrientation(orientation);
  const PixelSize stored{static_cast<int>(width), static_cast<int>(height)};
  if (!upright.OnSize(stored)) return false;
  const size_t stored_stride = size_t{4} * width;
  for (UINT y = 0; y < height; ++y) {
    if (!upright.OnRow(static_cast<int>(y), {pixels.data() + stored_stride * y, stored_stride}))
      return false;
  }
  if (!upright.Finish()) return false;
  pixels.swap(turned);
  width = static_cast<UINT>(upright.Upright().width);
  height = static_cast<UINT>(upright.Upright().height);
  return true;
}

}  // namespace vellumo
