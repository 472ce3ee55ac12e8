#include "thumbnail_cache.h"

#include <sys/stat.h>

#include <QCryptographicHash>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "picture_decoder.h"
#include "ui/preview.h"

namespace vellumo {
namespace {

struct SizeFolder {
  const char* name;
  int side;  // the most pixels a thumbnail there has on its longer side
};
constexpr std::array<SizeFolder, 4> kFolders{
    {{"normal", 128}, {"large", 256}, {"x-large", 512}, {"xx-large", 1024}}};

// The picture's last change and length, which a thumbnail records to tell whether it is stale.
struct Stamp {
  std::string mtime;
  std::string size;
};

std::optional<Stamp> StampOf(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return std::nullopt;
  return Stamp{std::to_string(info.st_mtime), std::to_string(info.st_size)};
}

std::string Md5Name(const std::string& uri) {
  const QByteArray hash = QCryptographicHash::hash(QByteArray::fromStdString(uri),
                                                   QCryptographicHash::Md5);
  return hash.toHex().toStdString() + ".png";
}

std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  const auto absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
}

// The smallest size folder whose thumbnails cover `wanted`; null when none does.
const SizeFolder* FolderFor(QSize wanted) {
  const int longer = std::max(wanted.width(), wanted.height());
  for (const SizeFolder& folder : kFolders)
    if (folder.side >= longer) return &folder;
  return nullptr;
}

bool Covers(QSize thumbnail, QSize wanted, QSize full) {
  return ThumbnailCovers({thumbnail.width(), thumbnail.height()},
                         {wanted.width(), wanted.height()}, {full.width(), full.height()});
}

// GLib leaves these unescaped in a file URI's path (and letters and digits).
bool GlibKeeps(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("-_.!~*'()/&=:@+$,").find(static_cast<char>(c)) != std::string::npos;
}

}  // namespace

std::string ThumbnailUri(const std::string& absolute_path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string uri = "file://";
  for (const char byte : absolute_path) {
    const auto c = static_cast<unsigned char>(byte);
    if (GlibKeeps(c)) {
      uri += byte;
      continue;
    }
    uri += '%';
    uri += kHex[c >> 4];
    uri += kHex[c & 0xF];
  }
  return uri;
}

ThumbnailCache ThumbnailCache::ForUser() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  if (cache && cache[0] == '/') return ThumbnailCache(std::string(cache) + "/thumbnails");
  const char* home = std::getenv("HOME");
  return ThumbnailCache(std::string(home && *home ? home : "/") + "/.cache/thumbnails");
}

std::optional<QImage> ThumbnailCache::Find(const std::string& path, QSize wanted,
                                           QSize full) const {
  const std::string absolute = AbsolutePath(path);
  const auto stamp = StampOf(absolute);
  if (!stamp) return std::nullopt;
  const std::string uri = ThumbnailUri(absolute);
  const std::string name = Md5Name(uri);
  for (const SizeFolder& folder : kFolders) {
    QImageReader reader(QString::fromStdString(root_ + "/" + folder.name + "/" + name), "png");
    if (!reader.canRead() || !Covers(reader.size(), wanted, full)) continue;
    // The reader's own text lookup cannot take keys with colons: the image's can.
    QImage image = reader.read();
    if (image.isNull()) continue;
    if (image.text(QStringLiteral("Thumb::URI")).toStdString() != uri) continue;
    if (image.text(QStringLiteral("Thumb::MTime")).toStdString() != stamp->mtime) continue;
    const QString size = image.text(QStringLiteral("Thumb::Size"));
    if (!size.isEmpty() && size.toStdString() != stamp->size) continue;
    return image;
  }
  return std::nullopt;
}

QSize ThumbnailCache::StoredSize(QSize wanted, QSize full) {
  const SizeFolder* folder = FolderFor(wanted);
  if (!folder || full.isEmpty()) return {};
  if (full.width() <= folder->side && full.height() <= folder->side) return full;
  return full.scaled(folder->side, folder->side, Qt::KeepAspectRatio);
}

void ThumbnailCache::Store(const std::string& path, const QImage& image, QSize wanted,
                           QSize full) const {
  const QSize stored = StoredSize(wanted, full);
  if (stored.isEmpty() || image.isNull()) return;
  const std::string absolute = AbsolutePath(path);
  const auto stamp = StampOf(absolute);
  if (!stamp) return;
  const std::string dir = root_ + "/" + FolderFor(wanted)->name;
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  // The cache holds what the user browses: for the user's eyes only.
  std::filesystem::permissions(root_, std::filesystem::perms::owner_all, error);
  std::filesystem::permissions(dir, std::filesystem::perms::owner_all, error);

  QImage thumbnail = image.size() == stored
                         ? image
                         : image.scaled(stored, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  const std::string uri = ThumbnailUri(absolute);
  thumbnail.setText(QStringLiteral("Thumb::URI"), QString::fromStdString(uri));
  thumbnail.setText(QStringLiteral("Thumb::MTime"), QString::fromStdString(stamp->mtime));
  thumbnail.setText(QStringLiteral("Thumb::Size"), QString::fromStdString(stamp->size));
  thumbnail.setText(QStringLiteral("Thumb::Image::Width"), QString::number(full.width()));
  thumbnail.setText(QStringLiteral("Thumb::Image::Height"), QString::number(full.height()));
  thumbnail.setText(QStringLiteral("Software"), QStringLiteral("Vellumo"));

  // Written beside its place and moved there in one step, so no reader sees half a file.
  QSaveFile file(QString::fromStdString(dir + "/" + Md5Name(uri)));
  if (!file.open(QIODevice::WriteOnly)) return;
  file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  QImageWriter writer(&file, "png");
  writer.setQuality(80);  // zlib's fastest level: the write must cost the preview little
  if (!writer.write(thumbnail)) {
    file.cancelWriting();
    return;
  }
  file.commit();
}

std::optional<PreviewImage> PreviewWithThumbnails(const std::string& path,
                                                  const WantedSize& wanted,
                                                  const ThumbnailCache& cache,
                                                  const PreviewDecoder& decode) {
  const auto full = ReadPictureSize(path);
  if (!full) return decode(path, wanted);
  const PixelSize want = wanted(*full);
  const QSize want_size(want.width, want.height);
  const QSize full_size(full->width, full->height);
  if (auto thumbnail = cache.Find(path, want_size, full_size))
    return PreviewImage{std::move(*thumbnail), *full};

  // Decoded large enough for the thumbnail too, then stored for the next preview.
  const QSize stored = ThumbnailCache::StoredSize(want_size, full_size);
  const PixelSize decode_at{std::max(want.width, stored.width()),
                            std::max(want.height, stored.height())};
  auto preview = decode(path, [decode_at](PixelSize) { return decode_at; });
  if (preview) cache.Store(path, preview->image, want_size, full_size);
  return preview;
}

}  // namespace vellumo
