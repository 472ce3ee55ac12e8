#include "change_notice.h"

#include <QApplication>
#include <QEventLoop>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <chrono>

#include "change/change_screen.h"
#include "design_scale.h"
#include "fade_support.h"
#include "pictures.h"
#include "platform/trunction.h"
#include "qt_event_loop.h"

namespace vellumo {
namespace {

QRect Placed(const TwipsRect& twips, int dpi) {
  return ToQRect(ToDevice(twips, dpi));
}

QLabel* AddLabel(QWidget* parent, const char* name, const QRect& box) {
  auto* label = new QLabel(parent);
  label->setObjectName(QLatin1String(name));
  label->setGeometry(box);
  label->setTextFormat(Qt::PlainText);  // a file name is never markup
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

// The window itself: hands its keys to the change screen's logic and refuses to be closed from
// outside (the logic closes it once the change is done).
class NoticeWindow : public QFrame {
 public:
  explicit NoticeWindow(ChangeScreenEvents& events)
      : QFrame(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
        events_(events) {}

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Escape) {
      events_.OnKeyPress(kEscape);
    } else if (!event->text().isEmpty()) {
      events_.OnKeyPress(event->text().at(0).unicode());
    }
  }
  void closeEvent(QCloseEvent* event) override { event->ignore(); }

 private:
  ChangeScreenEvents& events_;
};

class QtChangeNotice : public ChangeScreenView {
 public:
  explicit QtChangeNotice(ChangeScreenEvents& events);
  ~QtChangeNotice() override { delete window_.data(); }

  void Show() override;
  void ShowModal() override;
  void SetFileName(const std::string& text) override;
  std::string TruncatePath(const std::string& path, int width) override;
  void StartTimer(int milliseconds) override;
  void StopTimer() override { timer_.stop(); }
  int SetTranslucency(int alpha) override;
  void Destroy() override;

 private:
  ChangeScreenEvents& events_;
  QPointer<NoticeWindow> window_;
  QLabel* file_name_ = nullptr;
  QTimer timer_;
  QEventLoop* modal_loop_ = nullptr;
  bool can_fade_ = false;
};

QtChangeNotice::QtChangeNotice(ChangeScreenEvents& events) : events_(events) {
  const int dpi = QtScreenDpi();
  window_ = new NoticeWindow(events);
  window_->setObjectName(QStringLiteral("frmChanging"));
  window_->setWindowTitle(QString::fromUtf8(kProductName));
  window_->setFrameStyle(QFrame::Box | QFrame::Plain);
  window_->setFixedSize(Placed(kChangingClient, dpi).size());
  window_->setFocusPolicy(Qt::StrongFocus);

  const QRect image_box = Placed(kChangingImage, dpi);
  QLabel* image = AddLabel(window_, "Image1", image_box);
  image->setPixmap(ProgramIcon().pixmap(image_box.size(), window_->devicePixelRatioF()));

  QLabel* title = AddLabel(window_, "Label1", Placed(kChangingTitle, dpi));
  title->setFont(ArialFont(kChangingTitleCentipoints, true));
  title->setText(QString::fromUtf8(kProductName));

  file_name_ = AddLabel(window_, "lblFileName", Placed(kChangingFileName, dpi));
  file_name_->setFont(ArialFont(kChangingFileNameCentipoints, false));

  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { events_.OnTimer(); });
  can_fade_ = CanFadeWindows();
}

void QtChangeNotice::Show() {
  if (!window_) return;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    window_->move(area.center() - window_->rect().center());
  }
  window_->show();
  // The notice takes the keyboard so that Esc reaches it.
  window_->raise();
  window_->activateWindow();
  window_->setFocus();
}

void QtChangeNotice::ShowModal() {
  if (!window_) return;
  window_->setWindowModality(Qt::ApplicationModal);
  Show();
  QEventLoop loop;
  modal_loop_ = &loop;
  loop.exec();
  modal_loop_ = nullptr;
}

void QtChangeNotice::SetFileName(const std::string& text) {
  if (file_name_) file_name_->setText(QString::fromStdString(text));
}

std::string QtChangeNotice::TruncatePath(const std::string& path, int width) {
  const QFontMetrics metrics(file_name_ ? file_name_->font() : QApplication::font());
  return CompactPath(path, width, '/', [&metrics](std::string_view text) {
    return metrics.horizontalAdvance(QString::fromUtf8(text.data(), text.size()));
  });
}

void QtChangeNotice::StartTimer(int milliseconds) {
  timer_.start(milliseconds > 0 ? milliseconds : 0);
}

int QtChangeNotice::SetTranslucency(int alpha) {
  if (alpha < 0 || alpha > 255) return 1;
  if (!window_ || !can_fade_) return 2;
  window_->setWindowOpacity(alpha / 255.0);
  return 0;
}

void QtChangeNotice::Destroy() {
  timer_.stop();
  if (modal_loop_) modal_loop_->quit();
  // Later, not now: Destroy may come from inside one of the window's own events.
  if (window_) {
    window_->hide();
    window_->deleteLater();
  }
  window_.clear();
  file_name_ = nullptr;
}

}  // namespace

std::unique_ptr<ChangeScreenView> CreateChangeNotice(ChangeScreenEvents& events) {
  return std::make_unique<QtChangeNotice>(events);
}

}  // namespace vellumo
