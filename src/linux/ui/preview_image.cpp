#include "preview_image.h"

#include <QImageIOHandler>
#include <QImageReader>
#include <QString>

namespace vellumo {
std::optional<PreviewImage> DecodePreviewWithQt(const std::string& path, const WantedSize& wanted) {
  QImageReader reader(QString::fromStdString(path));
  reader.setAutoTransform(true);
  const QSize stored = reader.size();
  if (stored.isEmpty()) return std::nullopt;
  // The reader scales before it turns the picture upright.
  const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
  const QSize upright = turned ? stored.transposed() : stored;
  const PixelSize want = wanted({upright.width(), upright.height()});
  const QSize scaled = QSize(want.width, want.height).boundedTo(upright);
  if (scaled.width() < upright.width()) reader.setScaledSize(turned ? scaled.transposed() : scaled);
  QImage image = reader.read();
  if (image.isNull()) return std::nullopt;
  return PreviewImage{std::move(image), PixelSize{upright.width(), upright.height()}};
}

}  // namespace vellumo
