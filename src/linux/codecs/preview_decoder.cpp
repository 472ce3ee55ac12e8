#include "preview_decoder.h"

#include <algorithm>
#include <cstring>

#include "picture_decoder.h"

namespace vellumo {
namespace {

// Keeps one pixel in `step` across and down (the middle one of each block), whatever order
// the rows come in.
class Sampler {
 public:
  Sampler(PreviewPixels& out, const WantedSize& wanted) : out_(out), wanted_(wanted) {}

  // The full size, when the decoder reports it before scaling.
  PixelSize OnFullSize(PixelSize full) {
    out_.full = full;
    full_known_ = true;
    return Wanted(full);
  }

  bool OnSize(PixelSize decoded) {
    if (!full_known_) out_.full = decoded;
    const PixelSize shown = Wanted(out_.full);
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
  // Never empty, never larger than the picture.
  PixelSize Wanted(PixelSize full) const {
    const PixelSize want = wanted_(full);
    return {std::clamp(want.width, 1, std::max(full.width, 1)),
            std::clamp(want.height, 1, std::max(full.height, 1))};
  }

  PreviewPixels& out_;
  const WantedSize& wanted_;
  bool full_known_ = false;
  int step_ = 1;
};

}  // namespace

std::optional<PreviewPixels> DecodePreview(const std::string& path, const WantedSize& wanted) {
  PreviewPixels out;
  Sampler sampler(out, wanted);
  const auto decoded = DecodePicture(
      path, [&](PixelSize size) { return sampler.OnSize(size); },
      [&](int y, std::span<const uint8_t> bgr) { return sampler.OnRow(y, bgr); },
      [&](PixelSize full) { return sampler.OnFullSize(full); });
  if (!decoded) return std::nullopt;
  return out;
}

}  // namespace vellumo
