#include "preview_image.h"

#include <QImageIOHandler>
#include <QImageReader>
#include <QString>

namespace vellumo {
namespace {

// The smallest size of the picture's shape that covers `fit`, never larger than the picture.
QSize Covering(QSize stored, QSize fit) {
  const QSize scaled = stored.scaled(fit, Qt::KeepAspectRatioByExpanding);
  return scaled.width() < stored.width() ? scaled : stored;
}

}  // namespace

std::optional<PreviewImage> DecodePreviewWithQt(const std::string& path, QSize fit) {
  QImageReader reader(QString::fromStdString(path));
  reader.setAutoTransform(true);
  const QSize stored = reader.size();
  if (stored.isEmpty()) return std::nullopt;
  // The reader scales before it turns the picture upright.
  const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
  reader.setScaledSize(Covering(stored, turned ? fit.transposed() : fit));
  QImage image = reader.read();
  if (image.isNull()) return std::nullopt;
  const QSize upright = turned ? stored.transposed() : stored;
  return PreviewImage{std::move(image), PixelSize{upright.width(), upright.height()}};
}

}  // namespace vellumo
