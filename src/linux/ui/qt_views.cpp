#include "qt_views.h"

#include "change_notice.h"
#include "preview_decoder.h"
#include "qt_main_view.h"
#include "thumbnail_cache.h"

namespace vellumo {

std::unique_ptr<ChangeScreenView> QtViews::CreateChangeScreen(ChangeScreenEvents& events) {
  return CreateChangeNotice(events);
}

std::unique_ptr<MainView> QtViews::CreateMain(MainEvents& events) {
  MainWindowHooks hooks;
  hooks.decode_preview = [cache = ThumbnailCache::ForUser()](const std::string& path,
                                                             const WantedSize& wanted) {
    return PreviewWithThumbnails(path, wanted, cache, DecodePreviewWithCodecs);
  };
  return std::make_unique<QtMainView>(events, std::move(hooks));
}

std::optional<PreviewImage> DecodePreviewWithCodecs(const std::string& path,
                                                    const WantedSize& wanted) {
  const auto pixels = DecodePreview(path, wanted);
  if (!pixels || pixels->width <= 0 || pixels->height <= 0) return std::nullopt;
  // A copy: the image outlives the decoder's buffer.
  QImage image(pixels->bgra.data(), pixels->width, pixels->height, pixels->width * 4,
               QImage::Format_RGB32);
  return PreviewImage{image.copy(), pixels->full};
}

}  // namespace vellumo
