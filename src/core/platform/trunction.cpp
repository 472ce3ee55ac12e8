#include "platform/trunction.h"

#include "platform/utf8.h"

namespace vellumo {
namespace {

// The longest prefix length in [0, size] for which `fits` holds, given that it holds for every
// shorter prefix once it holds for a longer one; -1 when none fits.
template <typename Fits>
long LongestFitting(std::size_t size, const Fits& fits) {
  long low = 0, high = static_cast<long>(size), best = -1;
  while (low <= high) {
    const long mid = low + (high - low) / 2;
    if (fits(static_cast<std::size_t>(mid))) {
      best = mid;
      low = mid + 1;
    } else {
      high = mid - 1;
    }
  }
  return best;
}

}  // namespace

std::string CompactPath(std::string_view path, int width, char separator,
                        const TextWidth& measure) {
  if (measure(path) <= width) return std::string(path);

  const auto cut = path.rfind(separator);
  const std::string_view name = cut == std::string_view::npos ? path : path.substr(cut + 1);
  const std::string_view folder = cut == std::string_view::npos ? "" : path.substr(0, cut);

  // Keep as much of the front of the folder as fits, so the drive or root stays readable.
  const auto with_folder = [&](std::size_t keep) {
    std::string text(folder.substr(0, CharacterBoundary(folder, keep)));
    text += "...";
    text += separator;
    text += name;
    return text;
  };
  if (!folder.empty()) {
    const long keep = LongestFitting(
        folder.size() - 1, [&](std::size_t k) { return measure(with_folder(k)) <= width; });
    if (keep >= 0) return with_folder(static_cast<std::size_t>(keep));
  }

  // Not even the name fits: cut the name itself and mark the cut.
  const auto with_name = [&](std::size_t keep) {
    return std::string(name.substr(0, CharacterBoundary(name, keep))) + "...";
  };
  const long keep = LongestFitting(name.size() - (name.empty() ? 0 : 1),
                                   [&](std::size_t k) { return measure(with_name(k)) <= width; });
  return keep >= 0 ? with_name(static_cast<std::size_t>(keep)) : "...";
}

}  // namespace vellumo
