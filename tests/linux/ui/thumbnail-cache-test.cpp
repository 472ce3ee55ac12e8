// The shared thumbnail cache against a temporary cache folder: its names, what counts as valid,
// and that a preview works whatever the cache holds.
#include "thumbnail_cache.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <QCryptographicHash>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <filesystem>

#include "ui/preview.h"

namespace vellumo {
namespace {

class ThumbnailCacheTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    QImage picture(1024, 768, QImage::Format_RGB32);
    picture.fill(QColor(20, 160, 60));
    ASSERT_TRUE(picture.save(QString::fromStdString(picture_), "JPEG"));
  }

  std::string Path(const char* name) const { return dir_.filePath(name).toStdString(); }
  // The preview at `scale`, counting the decodes it needed.
  std::optional<PreviewImage> Preview(double scale) {
    return PreviewWithThumbnails(
        picture_, [scale](PixelSize full) { return PreviewDecodeSize(full, scale); }, cache_,
        [this](const std::string&, const WantedSize& wanted) -> std::optional<PreviewImage> {
          ++decodes_;
          const PixelSize size = wanted({1024, 768});
          QImage image(size.width, size.height, QImage::Format_RGB32);
          image.fill(QColor(20, 160, 60));
          return PreviewImage{image, {1024, 768}};
        });
  }
  std::string Thumbnail(const char* folder) const {
    const QByteArray uri = QByteArray::fromStdString(ThumbnailUri(picture_));
    return cache_root_ + "/" + folder + "/" +
           QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex().toStdString() + ".png";
  }

  QTemporaryDir dir_;
  std::string picture_ = Path("a photo #1.jpg");
  std::string cache_root_ = Path("cache/thumbnails");
  ThumbnailCache cache_{cache_root_};
  int decodes_ = 0;
};

TEST(ThumbnailUriTest, EscapesAsGlibDoes) {
  EXPECT_EQ(ThumbnailUri("/tmp/uri test/a(b)&c=d+e,f;g[h]~i'j!k@l:m$n#o%p?q \xC3\xA9"),
            "file:///tmp/uri%20test/a(b)&c=d+e,f%3Bg%5Bh%5D~i'j!k@l:m$n%23o%25p%3Fq%20%C3%A9");
}

// The first preview decodes and writes the thumbnail the cache's rules ask for; the next comes
// from it, at 96 and at 144 dpi alike.
TEST_F(ThumbnailCacheTest, AFirstPreviewWritesTheThumbnailTheNextOnesRead) {
  ASSERT_TRUE(Preview(1.0));
  EXPECT_EQ(decodes_, 1);
  const QImage written(QString::fromStdString(Thumbnail("large")));
  EXPECT_EQ(written.size(), QSize(256, 192));
  EXPECT_EQ(written.text("Thumb::URI").toStdString(), ThumbnailUri(picture_));
  struct stat info {};
  ASSERT_EQ(stat(picture_.c_str(), &info), 0);
  EXPECT_EQ(written.text("Thumb::MTime").toLongLong(), info.st_mtime);
  ASSERT_EQ(stat(Thumbnail("large").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  for (const double scale : {1.0, 1.5}) {
    const auto preview = Preview(scale);
    ASSERT_TRUE(preview);
    EXPECT_EQ(preview->full.width, 1024) << "the picture's own size, for the caption";
    EXPECT_EQ(preview->image.size(), QSize(256, 192));
  }
  EXPECT_EQ(decodes_, 1);
}

TEST_F(ThumbnailCacheTest, AStaleTooSmallOrDamagedThumbnailIsDecodedAgain) {
  ASSERT_TRUE(Preview(1.0));
  utimbuf later{1700000000, 1700000000};
  ASSERT_EQ(utime(picture_.c_str(), &later), 0);
  ASSERT_TRUE(Preview(1.0));
  EXPECT_EQ(decodes_, 2) << "stale";

  // A file manager's 128-pixel thumbnail covers the preview at 96 dpi, not at 144.
  std::filesystem::remove(Thumbnail("large"));
  std::filesystem::create_directories(cache_root_ + "/normal");
  QImage small(128, 96, QImage::Format_RGB32);
  small.setText("Thumb::URI", QString::fromStdString(ThumbnailUri(picture_)));
  small.setText("Thumb::MTime", "1700000000");
  ASSERT_TRUE(small.save(QString::fromStdString(Thumbnail("normal")), "PNG"));
  EXPECT_TRUE(cache_.Find(picture_, QSize(100, 75), QSize(1024, 768)));
  EXPECT_FALSE(cache_.Find(picture_, QSize(249, 187), QSize(1024, 768)));

  QFile damaged(QString::fromStdString(Thumbnail("large")));
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
  damaged.write("\x89PNG\r\n\x1a\n and then nothing");
  damaged.close();
  ASSERT_TRUE(Preview(1.0));
  EXPECT_EQ(decodes_, 3) << "damaged: decoded, and written anew";
  EXPECT_EQ(QImageReader(QString::fromStdString(Thumbnail("large"))).size(), QSize(256, 192));
}

TEST_F(ThumbnailCacheTest, ACacheThatCannotBeWrittenLeavesThePreviewWorking) {
  QFile blocker(QString::fromStdString(cache_root_));
  std::filesystem::create_directories(Path("cache"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the folder should be
  blocker.close();
  EXPECT_TRUE(Preview(1.0));
  EXPECT_TRUE(Preview(1.0));
  EXPECT_EQ(decodes_, 2);
}

}  // namespace
}  // namespace vellumo
