// Draws the settings window, the automatic-mode dialog and the About box with sample content
// and saves each as a PNG, for looking at them beside the Windows build's:
//   vellumo_ui_screenshots OUTPUT-FOLDER [SUFFIX-FOR-THE-MAIN-WINDOW]
// Run it on a real display (Xvfb will do); QT_SCALE_FACTOR=1.5 draws them at 144 dpi.
#include <QApplication>
#include <QDir>
#include <QLinearGradient>
#include <QListView>
#include <QPainter>
#include <QTest>

#include "about_dialog.h"
#include "qt_main_view.h"
#include "ratio_dialog.h"
#include "ui/main_layout.h"
#include "ui/toolbar.h"

namespace vellumo {
namespace {

// A made-up 1024 x 768 picture: a sky over a hill.
std::optional<PreviewImage> SamplePicture(const std::string&, QSize fit) {
  QImage image(fit.width(), fit.width() * 3 / 4, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, image.height());
  sky.setColorAt(0, QColor(40, 70, 160));
  sky.setColorAt(1, QColor(230, 140, 90));
  painter.fillRect(image.rect(), sky);
  painter.setBrush(QColor(40, 90, 60));
  painter.setPen(Qt::NoPen);
  painter.drawEllipse(QPointF(image.width() * 0.3, image.height() * 1.1), image.width() * 0.8,
                      image.height() * 0.45);
  return PreviewImage{image, PixelSize{1024, 768}};
}

void Save(QWidget& widget, const QString& path) {
  widget.show();
  if (!QTest::qWaitForWindowExposed(&widget)) return;
  QTest::qWait(200);
  widget.grab().save(path);
}

void ShowMainWindow(QtMainView& view) {
  view.SetSourceText("/home/me/Pictures/wallpapers");
  view.SetImages({"Amber swirl", "Harbour at dusk", "Moss (4x3)", "Tile pattern", "Nuit étoilée"});
  view.SetImagesCaption("Images (5)");
  view.SetNextEnabled(true);
  view.SetButtonPressed(toolbar::kRandom, true);
  view.SetButtonPressed(toolbar::kFadeOut, true);
  view.SetSourceImage(2);
  view.SetDisplayRow(0);
  view.Show();
  auto* list = view.window()->findChild<QListView*>("lstImages");
  list->setCurrentIndex(list->model()->index(1, 0));
  const auto size = view.LoadPicture("harbour.jpg");
  view.SetPreviewCaption(PreviewCaption(*size));
  view.PlacePicture(FitPreview(*size, main_layout::kPreviewArea));
  view.ShowPicture(true);
}

}  // namespace
}  // namespace vellumo

int main(int argc, char** argv) {
  using namespace vellumo;
  QApplication application(argc, argv);
  if (argc < 2) return 2;
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  const QString suffix = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("96");

  MainEvents events;
  MainWindowHooks hooks;
  hooks.decode_preview = SamplePicture;
  QtMainView view(events, hooks);
  ShowMainWindow(view);
  Save(*view.window(), folder.filePath("linux-frmMain-" + suffix + ".png"));
  if (argc > 2) return 0;

  RatioDialog ratio(nullptr, AutoThresholds{});
  Save(ratio, folder.filePath("linux-frmRatio.png"));
  AboutDialog about(nullptr, [](const QUrl&) {});
  Save(about, folder.filePath("linux-frmAbout.png"));
  return 0;
}
