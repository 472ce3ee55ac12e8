// Draws the settings window, the automatic-mode dialog, the About box and the change notice
// with sample content and saves each as a PNG, for the README and for looking at them beside
// the Windows build's:
//   vellumo_ui_screenshots OUTPUT-FOLDER [SUFFIX-FOR-THE-MAIN-WINDOW]
// With a suffix ("144dpi") only the settings window is drawn, as frmMain-SUFFIX.png; without
// one, all four at 96 dpi. Run it on a real display (Xvfb will do); QT_SCALE_FACTOR=1.5 draws
// them at 144 dpi.
// scripts/screenshots.sh --linux runs it.
#include <QApplication>
#include <QDir>
#include <QLinearGradient>
#include <QListView>
#include <QPainter>
#include <QTest>

#include "about_dialog.h"
#include "change_notice.h"
#include "qt_main_view.h"
#include "ratio_dialog.h"
#include "ui/main_layout.h"
#include "ui/toolbar.h"

namespace vellumo {
namespace {

// A made-up 1024 x 768 picture: a sky over a hill.
std::optional<PreviewImage> SamplePicture(const std::string&, const WantedSize& wanted) {
  const PixelSize size = wanted({1024, 768});
  QImage image(size.width, size.height, QImage::Format_RGB32);
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

struct NoEvents : ChangeScreenEvents {
  void OnTimer() override {}
  void OnKeyPress(int) override {}
};

// The notice as a background run shows it, with the path shortened to its label's width.
void SaveChangeNotice(const QString& path) {
  NoEvents events;
  auto notice = CreateChangeNotice(events);
  notice->SetFileName(
      notice->TruncatePath("/home/me/Pictures/wallpapers/Travels 2024/Harbour at dusk.jpg", 196));
  notice->Show();
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->objectName() == "frmChanging") Save(*window, path);
  }
}

}  // namespace
}  // namespace vellumo

int main(int argc, char** argv) {
  using namespace vellumo;
  QApplication application(argc, argv);
  if (argc < 2) return 2;
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  const QString suffix = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("96dpi");

  MainEvents events;
  MainWindowHooks hooks;
  hooks.decode_preview = SamplePicture;
  QtMainView view(events, hooks);
  ShowMainWindow(view);
  Save(*view.window(), folder.filePath("frmMain-" + suffix + ".png"));
  if (argc > 2) return 0;

  RatioDialog ratio(nullptr, AutoThresholds{});
  Save(ratio, folder.filePath("frmRatio.png"));
  AboutDialog about(nullptr, [](const QUrl&) {});
  Save(about, folder.filePath("frmAbout.png"));
  SaveChangeNotice(folder.filePath("frmChanging.png"));
  return 0;
}
