#include "qt_main_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSessionManager>
#include <QStringListModel>
#include <QToolTip>
#include <algorithm>
#include <cmath>

#include "change/change_screen.h"
#include "main_toolbar.h"
#include "main_window.h"
#include "pictures.h"
#include "platform/trunction.h"
#include "preview_pane.h"
#include "ratio_dialog.h"

namespace vellumo {
namespace {

namespace layout = main_layout;

constexpr int kToolbarIconSize = 32;

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

QPushButton* IconButton(QWidget* parent, const char* name, const char* accessible, const char* icon,
                        const QRect& where) {
  auto* button = new QPushButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAccessibleName(QString::fromUtf8(accessible));
  button->setToolTip(QString::fromUtf8(accessible));
  button->setIcon(ButtonIcon(icon));
  button->setGeometry(where);
  // The picture keeps the design's share of the button: 16 of 22 pixels.
  const int side = where.height() * 16 / 22;
  button->setIconSize(QSize(side, side));
  return button;
}

// Runs `handler` on every event `target` receives; its true ends the event there.
class EventHook : public QObject {
 public:
  EventHook(QObject* target, std::function<bool(QEvent*)> handler)
      : QObject(target), handler_(std::move(handler)) {
    target->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override { return handler_(event); }

 private:
  std::function<bool(QEvent*)> handler_;
};

// A tool tip whose text the logic gives at the moment it is asked for; none for an empty one.
bool ShowTip(QEvent* event, QWidget* widget, const std::string& tip) {
  const QPoint where = static_cast<QHelpEvent*>(event)->globalPos();
  if (tip.empty()) {
    QToolTip::hideText();
  } else {
    QToolTip::showText(where, Text(tip), widget);
  }
  return true;
}

bool IsEnter(QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

std::string ChooseFolderWithQt(QWidget* owner, const std::string& prompt,
                               const std::string& start) {
  return QFileDialog::getExistingDirectory(owner, Text(prompt), Text(start)).toStdString();
}

std::string ChoosePictureWithQt(QWidget* owner, const std::string& prompt,
                                const std::string& start) {
  // Names are matched with their letter case on Linux: both cases of each extension.
  const QString pictures =
      QStringLiteral("Pictures (*.bmp *.jpg *.jpeg *.gif *.BMP *.JPG *.JPEG *.GIF);;All files (*)");
  return QFileDialog::getOpenFileName(owner, Text(prompt), Text(start), pictures).toStdString();
}

// Frames first, then the controls over them in tab order: a widget made later lies on top.
QtMainView::QtMainView(MainEvents& events, MainWindowHooks hooks)
    : events_(events),
      hooks_(std::move(hooks)),
      window_(new MainWindow([this] { events_.OnCancel(); })),
      scale_(*window_) {
  if (!hooks_.choose_folder) hooks_.choose_folder = ChooseFolderWithQt;
  if (!hooks_.choose_picture) hooks_.choose_picture = ChoosePictureWithQt;
  if (!hooks_.decode_preview) hooks_.decode_preview = DecodePreviewWithQt;
  if (!hooks_.open_link) hooks_.open_link = OpenWithDesktop;

  MainWindow& window = *window_;
  // Logging off asks the program to keep its data (X11 session management) before the session's
  // end takes the display away without closing the window.
  QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, &window,
                   [this](QSessionManager&) { events_.OnEndSession(); });
  window.setObjectName(QStringLiteral("frmMain"));
  window.setWindowTitle(QString::fromUtf8(main_text::kCaption));
  window.setWindowIcon(ProgramIcon());
  window.setFixedSize(scale_(layout::kClientWidth), scale_(layout::kClientHeight));

  const QRect bar = scale_(layout::kToolbar);
  toolbar_ = new MainToolbar(&window, events_, scale_(kToolbarIconSize), bar.width());
  toolbar_->setObjectName(QStringLiteral("Toolbar"));
  toolbar_->setGeometry(bar);
  CreateLocation();
  CreateImages();
  CreatePreview();
  CreateDisplayMode();
  CreateButtons();
}

QtMainView::~QtMainView() {
  delete window_.data();
}

QWidget* QtMainView::window() const {
  return window_.data();
}

QGroupBox* QtMainView::Frame(const char* name, const char* caption, const Box& box) {
  auto* frame = new QGroupBox(QString::fromUtf8(caption), window_.data());
  frame->setObjectName(QString::fromLatin1(name));
  frame->setFont(ArialFont(layout::kFramePoints, true));
  frame->setGeometry(scale_(box));
  return frame;
}

void QtMainView::CreateLocation() {
  Frame("Frame1", main_text::kLocation, layout::kLocationFrame);
  const QPoint frame = Corner(layout::kLocationFrame);
  source_ = new QLineEdit(window_.data());
  source_->setObjectName(QStringLiteral("txtSource"));
  source_->setAccessibleName(QString::fromUtf8(main_text::kLocation));
  source_->setReadOnly(true);
  source_->setFont(ArialFont(layout::kSourcePoints, false));
  source_->setGeometry(scale_(layout::kSourceText, frame));
  QPushButton* browse = IconButton(window_.data(), "btnBrowse", "Browse for the source", "browse",
                                   scale_(layout::kBrowse, frame));
  QObject::connect(browse, &QPushButton::clicked, [this] { events_.OnBrowse(); });
}

void QtMainView::CreateImages() {
  images_frame_ = Frame("fraImages", "Images (0)", layout::kImagesFrame);
  names_ = new QStringListModel(window_.data());
  images_ = new QListView(window_.data());
  images_->setObjectName(QStringLiteral("lstImages"));
  images_->setAccessibleName(QStringLiteral("Images"));
  images_->setModel(names_);
  images_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  images_->setSelectionMode(QAbstractItemView::SingleSelection);
  // Rows of one height let a list of a hundred thousand names lay out at once.
  images_->setUniformItemSizes(true);
  images_->setGeometry(scale_(layout::kImageList, Corner(layout::kImagesFrame)));
  // The selection, not the current row: the list makes its first row current when it gets the
  // focus, and that must not preview a picture nobody chose.
  QObject::connect(images_->selectionModel(), &QItemSelectionModel::selectionChanged, [this] {
    const QModelIndexList rows = images_->selectionModel()->selectedIndexes();
    events_.OnImageSelected(rows.isEmpty() ? -1 : rows.first().row());
  });
  QObject::connect(images_, &QListView::doubleClicked,
                   [this](const QModelIndex& index) { events_.OnImageDoubleClicked(index.row()); });
  // Enter applies the selected row, as a double click does.
  new EventHook(images_, [this](QEvent* event) {
    if (!IsEnter(event)) return false;
    const QModelIndexList rows = images_->selectionModel()->selectedIndexes();
    if (!rows.isEmpty()) events_.OnImageDoubleClicked(rows.first().row());
    return true;
  });
  new EventHook(images_->viewport(), [this](QEvent* event) {
    if (event->type() != QEvent::ToolTip) return false;
    const QModelIndex row = images_->indexAt(static_cast<QHelpEvent*>(event)->pos());
    return ShowTip(event, images_, row.isValid() ? events_.OnImageTip(row.row()) : "");
  });
}

void QtMainView::CreatePreview() {
  preview_frame_ = Frame("fraPreview", kPreviewCaption, layout::kPreviewFrame);
  const QPoint frame = Corner(layout::kPreviewFrame);
  // Over the caption's leading blanks.
  auto* check = new QCheckBox(window_.data());
  check->setObjectName(QStringLiteral("chkPreview"));
  check->setAccessibleName(QStringLiteral("Preview"));
  check->setChecked(true);
  check->setGeometry(scale_(layout::kPreviewCheck, frame));
  QObject::connect(check, &QCheckBox::clicked, [this](bool on) { events_.OnPreviewToggled(on); });
  preview_ = new PreviewPane(window_.data(), scale_(layout::kPreviewBorder, frame),
                             ArialFont(layout::kLoadingPoints, true));
  preview_->setObjectName(QStringLiteral("lblFrame"));
  new EventHook(preview_, [this](QEvent* event) {
    return event->type() == QEvent::ToolTip && ShowTip(event, preview_, events_.OnPreviewTip());
  });
}

void QtMainView::CreateDisplayMode() {
  Frame("Frame2", main_text::kDisplayMode, layout::kDisplayFrame);
  const QPoint frame = Corner(layout::kDisplayFrame);
  display_ = new QComboBox(window_.data());
  display_->setObjectName(QStringLiteral("cboDisplayMode"));
  display_->setAccessibleName(QStringLiteral("Display mode"));
  display_->setFont(ArialFont(layout::kButtonPoints, true));
  for (const char* row : main_text::kDisplayModes) display_->addItem(QString::fromUtf8(row));
  // The closed list stands as high as the button beside it.
  QRect list = scale_(layout::kDisplayList, frame);
  list.setHeight(scale_(layout::kDisplaySettings.height));
  display_->setGeometry(list);
  // Only the user's choice: a row set by the logic is no choice.
  QObject::connect(display_, &QComboBox::activated,
                   [this](int row) { events_.OnDisplayModeChosen(row); });
  QPushButton* settings =
      IconButton(window_.data(), "btnDisplaySettings", "Automatic display mode settings",
                 "display-settings", scale_(layout::kDisplaySettings, frame));
  QObject::connect(settings, &QPushButton::clicked, [this] { events_.OnDisplaySettings(); });
}

void QtMainView::CreateButtons() {
  const QFont font = ArialFont(layout::kButtonPoints, true);
  next_ =
      new QPushButton(QStringLiteral("&") + QString::fromUtf8(main_text::kNext), window_.data());
  next_->setObjectName(QStringLiteral("btnNext"));
  next_->setFont(font);
  next_->setGeometry(scale_(layout::kNext));
  next_->setEnabled(false);
  QObject::connect(next_, &QPushButton::clicked, [this] { events_.OnNext(); });
  auto* save =
      new QPushButton(QStringLiteral("&") + QString::fromUtf8(main_text::kSave), window_.data());
  save->setObjectName(QStringLiteral("btnSave"));
  save->setFont(font);
  save->setGeometry(scale_(layout::kSave));
  QObject::connect(save, &QPushButton::clicked, [this] { events_.OnSave(); });
}

void QtMainView::Show() {
  if (!window_) return;
  MainWindow& window = *window_;
  if (const QScreen* screen = window.screen())
    window.move(screen->availableGeometry().center() - window.rect().center());
  window.show();
  window.raise();
  window.activateWindow();
  images_->setFocus();
}

// The program's loop runs while a top-level widget exists: closing is not enough.
void QtMainView::Destroy() {
  if (!window_) return;
  window_->CloseNow();
  window_->deleteLater();
  window_ = nullptr;
}

void QtMainView::SetEnabled(bool enabled) {
  if (!window_) return;
  window_->setEnabled(enabled);
}

std::string QtMainView::TruncatePath(const std::string& path, int width) {
  // Measured in the change screen's font, where the shortened path is shown.
  const QFontMetrics metrics(ArialFont(kChangingFileNameCentipoints, false));
  return CompactPath(path, width, '/', [&metrics](std::string_view text) {
    return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
  });
}

void QtMainView::SetButtonPressed(int index, bool pressed) {
  if (!window_) return;
  toolbar_->SetPressed(index, pressed);
}

void QtMainView::SetSourceImage(int image) {
  if (!window_) return;
  toolbar_->SetSourceImage(image);
}

void QtMainView::SetStartupMenu(const StartupMenuState& state) {
  if (!window_) return;
  toolbar_->SetStartupMenu(state);
}

void QtMainView::SetSourceText(const std::string& text) {
  if (!window_) return;
  source_->setText(Text(text));
  source_->setCursorPosition(0);
}

// All rows at once: a folder tree can hold a hundred thousand.
void QtMainView::SetImages(const std::vector<std::string>& names) {
  if (!window_) return;
  QStringList rows;
  rows.reserve(static_cast<qsizetype>(names.size()));
  for (const std::string& name : names) rows.append(Text(name));
  names_->setStringList(rows);
}

void QtMainView::SetImagesCaption(const std::string& caption) {
  if (!window_) return;
  images_frame_->setTitle(Text(caption));
}

void QtMainView::SetNextEnabled(bool enabled) {
  if (!window_) return;
  next_->setEnabled(enabled);
}

void QtMainView::SetDisplayRow(int row) {
  if (!window_) return;
  display_->setCurrentIndex(row);
}

void QtMainView::SetPreviewCaption(const std::string& caption) {
  if (!window_) return;
  preview_frame_->setTitle(Text(caption));
}

void QtMainView::SetLoadingText(const std::string& text) {
  if (!window_) return;
  preview_->SetNotice(Text(text));
}

void QtMainView::ShowLoading(bool visible) {
  if (!window_) return;
  preview_->ShowNotice(visible);
  // Painted now: the picture is loaded right after, before the loop runs again.
  if (visible && preview_->isVisible()) preview_->repaint();
}

void QtMainView::ShowPicture(bool visible) {
  if (!window_) return;
  preview_->ShowPicture(visible);
}

std::optional<PixelSize> QtMainView::LoadPicture(const std::string& path) {
  if (!window_) return std::nullopt;
  // Device pixels per pixel at 96 dpi.
  const double scale = scale_.factor() * preview_->devicePixelRatioF();
  auto decoded = hooks_.decode_preview(
      path, [scale](PixelSize full) { return PreviewDecodeSize(full, scale); });
  if (!decoded) return std::nullopt;
  preview_->SetPicture(decoded->image);
  return decoded->full;
}

void QtMainView::ClearPicture() {
  if (!window_) return;
  preview_->ClearPicture();
}

void QtMainView::PlacePicture(const PreviewRect& rect) {
  if (!window_) return;
  preview_->PlacePicture(ToQRect(layout::PreviewDeviceRect(rect, scale_.dpi())));
}

void QtMainView::ShowMessage(const std::string& text, const std::string& title) {
  if (!window_) return;
  QMessageBox box(QMessageBox::NoIcon, Text(title), Text(text), QMessageBox::Ok, window_.data());
  box.exec();
}

void QtMainView::ShowAbout() {
  if (!window_) return;
  RunAboutBox(window_.data(), hooks_.open_link);
}

std::optional<AutoThresholds> QtMainView::EditThresholds(AutoThresholds current) {
  if (!window_) return std::nullopt;
  return RunRatioDialog(window_.data(), current);
}

std::string QtMainView::BrowseForFolder(const std::string& prompt, const std::string& start) {
  if (!window_) return {};
  return hooks_.choose_folder(window_.data(), prompt, start);
}

std::string QtMainView::BrowseForPicture(const std::string& prompt, const std::string& start) {
  if (!window_) return {};
  return hooks_.choose_picture(window_.data(), prompt, start);
}

}  // namespace vellumo
