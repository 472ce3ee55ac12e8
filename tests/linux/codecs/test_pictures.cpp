#include "test_pictures.h"

#include <gif_lib.h>

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <stdexcept>

namespace vellumo::test {

Picture SixColours() {
  return {3, 2, {kRed, kGreen, kBlue, kYellow, kCyan, kWhite}};
}
Picture TwoColours() {
  return {3, 2, {kMagenta, kBlue, kBlue, kBlue, kMagenta, kMagenta}};
}

Decoded Decode(const std::string& path, const PathDecoder& decoder) {
  Decoded out;
  std::vector<int> seen;
  const auto on_size = [&](PixelSize size) {
    out.size_reported = true;
    out.picture = {size.width, size.height, std::vector<Rgb>(size_t(size.width) * size.height)};
    seen.assign(size.height, 0);
    return true;
  };
  const auto on_row = [&](int y, std::span<const uint8_t> bgr) {
    if (y < 0 || y >= out.picture.height || bgr.size() != size_t(out.picture.width) * 3 ||
        seen[y]++ != 0) {
      out.rows_once = false;
      return false;
    }
    for (int x = 0; x < out.picture.width; ++x) {
      out.picture.pixels[size_t(y) * out.picture.width + x] = {bgr[x * 3 + 2], bgr[x * 3 + 1],
                                                               bgr[x * 3]};
    }
    return true;
  };
  out.size = decoder(path, on_size, on_row);
  if (out.size) {
    for (int count : seen) out.rows_once = out.rows_once && count == 1;
  }
  return out;
}

std::vector<uint8_t> ExifWithOrientation(int orientation, bool big_endian) {
  // "Exif", two NULs, the TIFF header, then one directory with one entry: tag 0x0112, type
  // SHORT, count 1, the value in the first two bytes of its field.
  const auto u16 = [big_endian](uint16_t v) -> std::vector<uint8_t> {
    return big_endian ? std::vector<uint8_t>{uint8_t(v >> 8), uint8_t(v)}
                      : std::vector<uint8_t>{uint8_t(v), uint8_t(v >> 8)};
  };
  const auto u32 = [&u16, big_endian](uint32_t v) {
    auto high = u16(uint16_t(v >> 16)), low = u16(uint16_t(v));
    auto out = big_endian ? high : low;
    const auto& rest = big_endian ? low : high;
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
  };
  std::vector<uint8_t> data{'E', 'x', 'i', 'f', 0, 0};
  const char order = big_endian ? 'M' : 'I';
  for (const auto& part :
       {std::vector<uint8_t>{uint8_t(order), uint8_t(order)}, u16(42), u32(8), u16(1), u16(0x0112),
        u16(3), u32(1), u16(uint16_t(orientation)), u16(0), u32(0)})
    data.insert(data.end(), part.begin(), part.end());
  return data;
}

void WriteJpeg(const std::filesystem::path& path, const Picture& picture, JpegKind kind,
               int orientation) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot write " + path.string());
  jpeg_compress_struct cinfo;
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, file);
  cinfo.image_width = picture.width;
  cinfo.image_height = picture.height;
  cinfo.input_components = kind == JpegKind::kGray ? 1 : kind == JpegKind::kCmykAdobe ? 4 : 3;
  cinfo.in_color_space = kind == JpegKind::kGray        ? JCS_GRAYSCALE
                         : kind == JpegKind::kCmykAdobe ? JCS_CMYK
                                                        : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  if (kind == JpegKind::kProgressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  if (orientation != 1) {
    const auto exif = ExifWithOrientation(orientation);
    jpeg_write_marker(&cinfo, JPEG_APP0 + 1, exif.data(), static_cast<unsigned>(exif.size()));
  }
  std::vector<JSAMPLE> row(size_t(picture.width) * cinfo.input_components);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const Rgb c = picture.At(x, y);
      JSAMPLE* p = &row[size_t(x) * cinfo.input_components];
      if (kind == JpegKind::kGray) {
        p[0] = c.r;
      } else if (kind == JpegKind::kCmykAdobe) {
        // Inverted CMYK with no black ink: C = 255 - R stored as R.
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
        p[3] = 255;
      } else {
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
      }
    }
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::fclose(file);
}

namespace {

ColorMapObject* MakeMap(const std::vector<Rgb>& colours) {
  if (colours.empty()) return nullptr;
  int size = 2;
  while (size < static_cast<int>(colours.size())) size *= 2;
  std::vector<GifColorType> entries(size);
  for (size_t i = 0; i < colours.size(); ++i) {
    entries[i] = {colours[i].r, colours[i].g, colours[i].b};
  }
  return GifMakeMapObject(size, entries.data());
}

void Check(int result) {
  if (result == GIF_ERROR) throw std::runtime_error("giflib refused the test picture");
}

void WriteFrame(GifFileType* gif, const GifFrame& frame) {
  if (frame.transparent >= 0) {
    const GifByteType control[4] = {0x01, 0, 0, static_cast<GifByteType>(frame.transparent)};
    Check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control));
  }
  ColorMapObject* local = MakeMap(frame.local);
  Check(EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, frame.interlaced,
                         local));
  GifFreeMapObject(local);
  std::vector<int> order;
  if (frame.interlaced) {
    for (auto [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
      for (int y = start; y < frame.height; y += step) order.push_back(y);
    }
  } else {
    for (int y = 0; y < frame.height; ++y) order.push_back(y);
  }
  for (int y : order) {
    std::vector<GifPixelType> line(frame.indices.begin() + y * frame.width,
                                   frame.indices.begin() + (y + 1) * frame.width);
    Check(EGifPutLine(gif, line.data(), frame.width));
  }
}

}  // namespace

void WriteGif(const std::filesystem::path& path, const GifRecipe& recipe) {
  int error = 0;
  GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
  if (gif == nullptr) throw std::runtime_error("cannot write " + path.string());
  EGifSetGifVersion(gif, true);
  ColorMapObject* global = MakeMap(recipe.global);
  Check(EGifPutScreenDesc(gif, recipe.width, recipe.height, 8, recipe.background, global));
  GifFreeMapObject(global);
  for (const auto& frame : recipe.frames) WriteFrame(gif, frame);
  Check(EGifCloseFile(gif, &error));
}

}  // namespace vellumo::test
