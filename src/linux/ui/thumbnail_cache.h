#pragma once

#include <QImage>
#include <QSize>
#include <optional>
#include <string>

#include "preview_image.h"

namespace vellumo {

// The thumbnails file managers keep of the pictures a user browses, in the shared freedesktop
// cache ($XDG_CACHE_HOME/thumbnails): one PNG per picture and size folder (normal, large,
// x-large, xx-large: at most 128, 256, 512 or 1024 pixels a side), named after the MD5 of the
// picture's file URI and valid while the Thumb::MTime it records is the picture's own.
class ThumbnailCache {
 public:
  // `root` is the cache's "thumbnails" folder.
  explicit ThumbnailCache(std::string root) : root_(std::move(root)) {}
  // The user's cache, from XDG_CACHE_HOME (else ~/.cache).
  static ThumbnailCache ForUser();

  // A valid thumbnail of `path` that covers `wanted` (or is the whole picture, `full`); nothing
  // when there is none, or only a stale, damaged or too small one.
  std::optional<QImage> Find(const std::string& path, QSize wanted, QSize full) const;

  // The size of the thumbnail Store writes for a picture of size `full` shown at `wanted`: the
  // picture fitted into the smallest size folder that covers `wanted`; empty when none does.
  static QSize StoredSize(QSize wanted, QSize full);

  // Stores `image` (the picture, at least StoredSize) as the thumbnail of `path`, scaled to
  // StoredSize, written atomically. Best effort: a cache that cannot be written is no error.
  void Store(const std::string& path, const QImage& image, QSize wanted, QSize full) const;

 private:
  std::string root_;
};

// The file URI of an absolute path as GLib writes it (and so every file manager's thumbnailer),
// which the thumbnail's name is the MD5 of.
std::string ThumbnailUri(const std::string& absolute_path);

// The preview of `path` from the cache when it holds a thumbnail large enough, else decoded by
// `decode` and stored there for the next preview, ours or a file manager's.
std::optional<PreviewImage> PreviewWithThumbnails(const std::string& path,
                                                  const WantedSize& wanted,
                                                  const ThumbnailCache& cache,
                                                  const PreviewDecoder& decode);

}  // namespace vellumo
