#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <utility>

// clang-format off
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "decoders.h"
#include "platform/bitmap_file.h"
#include "platform/exif_orientation.h"
#include "platform/upright_rows.h"

namespace vellumo::codecs {
namespace {

// Coefficient buffers of progressive files grow with the picture; past this libjpeg refuses
// instead of exhausting memory.
constexpr long kMaxJpegMemory = 1024L * 1024 * 1024;
// A progressive file may hold any number of scans; real encoders use a dozen or so.
constexpr int kMaxScans = 1000;

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

[[noreturn]] void ExitOnError(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings mean damaged data (a truncated file, a bad Huffman code, a lost restart marker):
// libjpeg would go on and fill the rest with grey, but such a picture must not become the
// wallpaper. Only warnings that lose no picture data are let through: harmless header oddities,
// and stray bytes before a marker, which many cameras and phones write.
void StopOnWarning(j_common_ptr cinfo, int level) {
  if (level >= 0) return;  // trace messages
  switch (cinfo->err->msg_code) {
    case JWRN_ADOBE_XFORM:
    case JWRN_JFIF_MAJOR:
    case JWRN_BOGUS_ICC:
    case JWRN_EXTRANEOUS_DATA:
      return;
    default:
      ExitOnError(cinfo);
  }
}

void LimitScans(j_common_ptr cinfo) {
  const auto* dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (dinfo->input_scan_number > kMaxScans) ExitOnError(cinfo);
}

uint8_t Scale(unsigned a, unsigned b) {
  return static_cast<uint8_t>((a * b + 127) / 255);
}

// Adobe writes CMYK inverted (0 = full ink); other writers store the ink itself.
void CmykToBgr(const JSAMPLE* cmyk, uint8_t* bgr, JDIMENSION width, bool inverted) {
  for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
    unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    bgr[0] = Scale(y, k);
    bgr[1] = Scale(m, k);
    bgr[2] = Scale(c, k);
  }
}

// The orientation of the first APP1 segment that holds EXIF data; upright without one.
int Orientation(j_decompress_ptr cinfo) {
  for (jpeg_saved_marker_ptr marker = cinfo->marker_list; marker; marker = marker->next) {
    if (marker->marker != JPEG_APP0 + 1) continue;
    const int orientation = ExifOrientation({marker->data, marker->data_length});
    if (orientation != kUpright) return orientation;
  }
  return kUpright;
}

// The smallest DCT scaling, in eighths, that still gives at least `wanted` (upright) pixels.
void ChooseScale(j_decompress_ptr cinfo, bool transposed, PixelSize wanted) {
  if (transposed) std::swap(wanted.width, wanted.height);
  for (unsigned eighths = 1; eighths < 8; ++eighths) {
    cinfo->scale_num = eighths;
    cinfo->scale_denom = 8;
    jpeg_calc_output_dimensions(cinfo);
    if (static_cast<int64_t>(cinfo->output_width) >= wanted.width &&
        static_cast<int64_t>(cinfo->output_height) >= wanted.height)
      return;
  }
  cinfo->scale_num = 1;
  cinfo->scale_denom = 1;
}

// Where each coefficient of an 8 x 8 block, row by row, comes in the file's zigzag order.
constexpr int kZigzag[64] = {0,  1,  5,  6,  14, 15, 27, 28, 2,  4,  7,  13, 16, 26, 29, 42,
                             3,  8,  12, 17, 25, 30, 41, 43, 9,  11, 18, 24, 31, 40, 44, 53,
                             10, 19, 23, 32, 39, 45, 52, 54, 20, 22, 33, 38, 46, 51, 55, 60,
                             21, 34, 37, 47, 50, 56, 59, 61, 35, 36, 48, 49, 57, 58, 62, 63};

// The low bits a coefficient may still lack when a reduced picture is put out: encoders send
// the first scans one or two bits short and refine them last, and a coefficient off by at most
// three quantisation steps changes a pixel of a scaled preview by a few levels at most.
constexpr int kBitsStillToCome = 2;

// True once every coefficient that carries detail the scaled picture shows has arrived, all but
// its last few bits: for a block put out as k x k pixels, the top left k x k of its coefficients.
// A subsampled component's blocks cover more of the picture and are stretched after their
// inverse DCT, so what it shows is correspondingly less.
bool HasScansEnough(j_decompress_ptr cinfo) {
  for (int ci = 0; ci < cinfo->num_components; ++ci) {
    const jpeg_component_info& component = cinfo->comp_info[ci];
    const int k = component.DCT_scaled_size;
    const int columns = std::max(1, k * component.h_samp_factor / cinfo->max_h_samp_factor);
    const int rows = std::max(1, k * component.v_samp_factor / cinfo->max_v_samp_factor);
    for (int row = 0; row < rows; ++row) {
      for (int column = 0; column < columns; ++column) {
        const int missing = cinfo->coef_bits[ci][kZigzag[row * 8 + column]];
        if (missing < 0 || missing > kBitsStillToCome) return false;
      }
    }
  }
  return true;
}

// A progressive file decoded at a reduced scale needs only its first scans: they are read, as
// far as the scale needs them, before the picture is put out. True when the rest of the file
// was left unread.
bool ReadEnoughScans(j_decompress_ptr cinfo) {
  for (;;) {
    const int status = jpeg_consume_input(cinfo);
    if (status == JPEG_REACHED_EOI) break;
    if (status == JPEG_SUSPENDED) ExitOnError(reinterpret_cast<j_common_ptr>(cinfo));
    if (status == JPEG_SCAN_COMPLETED && HasScansEnough(cinfo)) break;
  }
  jpeg_start_output(cinfo, cinfo->input_scan_number);
  return !jpeg_input_complete(cinfo);
}

PixelSize UprightSize(j_decompress_ptr cinfo, bool transposed) {
  const int width = static_cast<int>(cinfo->image_width);
  const int height = static_cast<int>(cinfo->image_height);
  return transposed ? PixelSize{height, width} : PixelSize{width, height};
}

// Everything that can longjmp lives here; it holds no C++ objects, and its buffers come from
// libjpeg's pools, which jpeg_destroy_decompress frees. Rows go through `upright`, which turns
// the picture by its recorded orientation.
bool DecodeRows(j_decompress_ptr cinfo, std::FILE* file, UprightRows& upright,
                const ScaleHandler& scale) {
  jpeg_stdio_src(cinfo, file);
  cinfo->mem->max_memory_to_use = kMaxJpegMemory;
  jpeg_save_markers(cinfo, JPEG_APP0 + 1, 0xFFFF);
  jpeg_read_header(cinfo, TRUE);
  const int orientation = Orientation(cinfo);
  upright.SetOrientation(orientation);
  // The full size must make a sensible bitmap even when a smaller one is asked for: a preview
  // shows no picture that could not become the wallpaper.
  if (!IsSensibleBitmapSize(cinfo->image_width, cinfo->image_height)) return false;

  const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
  cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
  const bool transposed = orientation >= 5;
  if (scale) ChooseScale(cinfo, transposed, scale(UprightSize(cinfo, transposed)));
  jpeg_calc_output_dimensions(cinfo);
  if (!AcceptSize(cinfo->output_width, cinfo->output_height, upright.SizeHandlerForDecoder()))
    return false;
  cinfo->buffered_image = cinfo->scale_num < cinfo->scale_denom && jpeg_has_multiple_scans(cinfo);
  // Smoothing blocks from incomplete scans reads on into the next scan for the last row; at a
  // reduced scale a block is a few pixels and smoothing has nothing to add.
  if (cinfo->buffered_image) cinfo->do_block_smoothing = FALSE;
  jpeg_start_decompress(cinfo);
  const bool rest_unread = cinfo->buffered_image && ReadEnoughScans(cinfo);

  const JDIMENSION width = cinfo->output_width;
  const auto batch =
      static_cast<JDIMENSION>(cinfo->rec_outbuf_height < 1 ? 1 : cinfo->rec_outbuf_height);
  JSAMPARRAY rows = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                                width * cinfo->output_components, batch);
  JSAMPARRAY bgr = cmyk ? (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo),
                                                      JPOOL_IMAGE, width * 3, 1)
                        : nullptr;
  const bool inverted = cinfo->saw_Adobe_marker;
  while (cinfo->output_scanline < cinfo->output_height) {
    const JDIMENSION first = cinfo->output_scanline;
    const JDIMENSION count = jpeg_read_scanlines(cinfo, rows, batch);
    for (JDIMENSION i = 0; i < count; ++i) {
      const uint8_t* out = rows[i];
      if (cmyk) {
        CmykToBgr(rows[i], bgr[0], width, inverted);
        out = bgr[0];
      }
      if (!upright.OnRow(static_cast<int>(first + i), {out, static_cast<size_t>(width) * 3}))
        return false;
    }
    if (count == 0) return false;  // suspended: cannot happen with a file source
  }
  // A preview from a progressive file's first scans leaves the rest unread (finishing would
  // read on); otherwise the file is read up to its end marker, so one cut after its last row is
  // still caught.
  if (rest_unread) return true;
  if (cinfo->buffered_image) jpeg_finish_output(cinfo);
  jpeg_finish_decompress(cinfo);
  return true;
}

// Frees libjpeg's memory however decoding ends: a return, a longjmp back to the setjmp or an
// exception from a handler (out of memory, say). Destroying a struct never created is harmless.
class DecompressGuard {
 public:
  explicit DecompressGuard(jpeg_decompress_struct& cinfo) : cinfo_(cinfo) {}
  ~DecompressGuard() { jpeg_destroy_decompress(&cinfo_); }
  DecompressGuard(const DecompressGuard&) = delete;
  DecompressGuard& operator=(const DecompressGuard&) = delete;

 private:
  jpeg_decompress_struct& cinfo_;
};

}  // namespace

std::optional<PixelSize> DecodeJpeg(std::FILE* file, const SizeHandler& on_size,
                                    const RowHandler& on_row, const ScaleHandler& scale) {
  jpeg_decompress_struct cinfo;
  std::memset(&cinfo, 0, sizeof cinfo);
  ErrorManager errors;
  cinfo.err = jpeg_std_error(&errors.pub);
  errors.pub.error_exit = ExitOnError;
  errors.pub.emit_message = StopOnWarning;
  jpeg_progress_mgr progress{};
  progress.progress_monitor = LimitScans;
  // Made before the setjmp, so a longjmp lands in their scope and skips no destructor.
  UprightRows upright(on_size, on_row);
  const DecompressGuard guard(cinfo);
  if (setjmp(errors.jump) != 0) return std::nullopt;
  jpeg_create_decompress(&cinfo);
  cinfo.progress = &progress;
  if (!DecodeRows(&cinfo, file, upright, scale)) return std::nullopt;
  // No libjpeg call from here on: nothing can longjmp past the held picture.
  if (!upright.Finish()) return std::nullopt;
  return upright.Upright();
}

}  // namespace vellumo::codecs
