#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>

class QFrame;
class QLabel;

namespace vellumo {

// The preview area: from the bottom up the background in the desktop's place, the picture, the
// notice ("Loading...", "Invalid File") and the border over them all.
class PreviewPane : public QWidget {
  Q_OBJECT

 public:
  // `geometry` is the bordered area's, in the parent.
  PreviewPane(QWidget* parent, const QRect& geometry, const QFont& notice_font);

  void SetNotice(const QString& text);
  void ShowNotice(bool visible);
  void ShowPicture(bool visible);
  void SetPicture(const QImage& image);
  void ClearPicture();
  // In this pane's coordinates; the picture is stretched to it.
  void PlacePicture(const QRect& rect);

  const QLabel& notice() const { return *notice_; }
  const QLabel& picture() const { return *picture_; }

 private:
  QLabel* background_;
  QLabel* picture_;
  QLabel* notice_;
  QFrame* border_;
};

}  // namespace vellumo
