#include "preview_decoder.h"

#include <algorithm>
#include <cstring>

#include "picture_decoder.h"

namespace vellumo {
namespace {

int64_t CeilDiv(int64_t a, int64_t b) {
  return (a + b - 1) / b;
}

// The size a picture is shown at in the box: fitted with its aspect ratio kept, rounded up,
// never larger than the picture and never empty.
PixelSize ShownSize(PixelSize full, int box_width, int box_height) {
  const int64_t w = std::max(full.width, 1), h = std::max(full.height, 1);
  const int64_t bw = std::max(box_width, 1), bh = std::max(box_height, 1);
  int64_t shown_w = bw, shown_h = bh;
  if (w * bh > h * bw) {
    shown_h = CeilDiv(h * bw, w);
  } else {
    shown_w = CeilDiv(w * bh, h);
  }
  return PixelSize{static_cast<int>(std::clamp<int64_t>(shown_w, 1, w)),
                   static_cast<int>(std::clamp<int64_t>(shown_h, 1, h))};
}

// Keeps one pixel in `step` across and down (the middle one of each block), whatever order
// the rows come in.
class Sampler {
 public:
  Sampler(PreviewPixels& out, int box_width, int box_height)
      : out_(out), box_width_(box_width), box_height_(box_height) {}

  // The full size, when the decoder reports it before scaling.
  PixelSize OnFullSize(PixelSize full) {
    out_.full = full;
    full_known_ = true;
    return ShownSize(full, box_width_, box_height_);
  }

  bool OnSize(PixelSize decoded) {
    if (!full_known_) out_.full = decoded;
    const PixelSize shown = ShownSize(out_.full, box_width_, box_height_);
    step_ = std::max(1, std::min(decoded.width / shown.width, decoded.height / shown.height));
    out_.width = decoded.width / step_;
    out_.height = decoded.height / step_;
    out_.bgra.assign(static_cast<size_t>(out_.width) * out_.height * 4, 255);
    return true;
  }

  bool OnRow(int y, std::span<const uint8_t> bgr) {
    const int offset = step_ / 2;
    if (y % step_ != offset || y / step_ >= out_.height) return true;
    uint8_t* to = &out_.bgra[static_cast<size_t>(y / step_) * out_.width * 4];
    const uint8_t* from = bgr.data() + static_cast<size_t>(offset) * 3;
    const size_t stride = static_cast<size_t>(step_) * 3;
    for (int x = 0; x < out_.width; ++x, to += 4, from += stride) std::memcpy(to, from, 3);
    return true;
  }

 private:
  PreviewPixels& out_;
  int box_width_;
  int box_height_;
  bool full_known_ = false;
  int step_ = 1;
};

}  // namespace

std::optional<PreviewPixels> DecodePreview(const std::string& path, int box_width, int box_height) {
  PreviewPixels out;
  Sampler sampler(out, box_width, box_height);
  const auto decoded = DecodePicture(
      path, [&](PixelSize size) { return sampler.OnSize(size); },
      [&](int y, std::span<const uint8_t> bgr) { return sampler.OnRow(y, bgr); },
      [&](PixelSize full) { return sampler.OnFullSize(full); });
  if (!decoded) return std::nullopt;
  return out;
}

}  // namespace vellumo
