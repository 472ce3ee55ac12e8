#pragma once

#include <QPointer>
#include <QString>
#include <functional>

#include "about_dialog.h"
#include "design_scale.h"
#include "preview_image.h"
#include "ui/main_view.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListView;
class QPushButton;
class QStringListModel;
class QWidget;

namespace vellumo {

class MainToolbar;
class MainWindow;
class PreviewPane;

// The system dialogs and the picture decoder the settings window uses, replaceable so that tests
// need not drive a modal dialog and the preview can decode with any library. An empty one takes
// the default.
struct MainWindowHooks {
  // The folder (or picture) chosen, or empty when cancelled; the dialog opens at `start`.
  using Chooser = std::function<std::string(QWidget* owner, const std::string& prompt,
                                            const std::string& start)>;
  Chooser choose_folder;
  Chooser choose_picture;
  PreviewDecoder decode_preview;
  LinkOpener open_link;
};

// The desktop's folder and file dialogs (a portal's where the desktop has one), titled `prompt`;
// the file dialog offers BMP, JPEG and GIF pictures.
std::string ChooseFolderWithQt(QWidget* owner, const std::string& prompt, const std::string& start);
std::string ChoosePictureWithQt(QWidget* owner, const std::string& prompt,
                                const std::string& start);

// frmMain in Qt Widgets: the same controls, texts and places as the Windows window, scaled to
// the screen. It shows what the logic tells it and forwards the user's actions to `events`.
class QtMainView : public MainView {
 public:
  explicit QtMainView(MainEvents& events, MainWindowHooks hooks = {});
  ~QtMainView() override;

  void Show() override;
  void Destroy() override;
  void SetEnabled(bool enabled) override;
  std::string TruncatePath(const std::string& path, int width) override;

  void SetButtonPressed(int index, bool pressed) override;
  void SetSourceImage(int image) override;
  void SetStartupMenu(const StartupMenuState& state) override;
  void SetSourceText(const std::string& text) override;
  void SetImages(const std::vector<std::string>& names) override;
  void SetImagesCaption(const std::string& caption) override;
  void SetNextEnabled(bool enabled) override;
  void SetDisplayRow(int row) override;

  void SetPreviewCaption(const std::string& caption) override;
  void SetLoadingText(const std::string& text) override;
  void ShowLoading(bool visible) override;
  void ShowPicture(bool visible) override;
  std::optional<PixelSize> LoadPicture(const std::string& path) override;
  void ClearPicture() override;
  void PlacePicture(const PreviewRect& rect) override;

  void ShowMessage(const std::string& text, const std::string& title) override;
  void ShowAbout() override;
  std::optional<AutoThresholds> EditThresholds(AutoThresholds current) override;
  std::string BrowseForFolder(const std::string& prompt, const std::string& start) override;
  std::string BrowseForPicture(const std::string& prompt, const std::string& start) override;

  // The top-level widget, until destroyed; its controls carry the design's names (txtSource,
  // lstImages, ...).
  QWidget* window() const;
  MainToolbar& toolbar() const { return *toolbar_; }
  PreviewPane& preview() const { return *preview_; }

 private:
  void CreateLocation();
  void CreateImages();
  void CreatePreview();
  void CreateDisplayMode();
  void CreateButtons();
  QGroupBox* Frame(const char* name, const char* caption, const Box& box);

  MainEvents& events_;
  MainWindowHooks hooks_;
  // Null once destroyed: the widget and its controls go at the next turn of the loop, and the
  // logic may still talk to the view until then.
  QPointer<MainWindow> window_;
  DesignScale scale_;
  MainToolbar* toolbar_ = nullptr;
  QLineEdit* source_ = nullptr;
  QGroupBox* images_frame_ = nullptr;
  QListView* images_ = nullptr;
  QStringListModel* names_ = nullptr;
  QGroupBox* preview_frame_ = nullptr;
  PreviewPane* preview_ = nullptr;
  QComboBox* display_ = nullptr;
  QPushButton* next_ = nullptr;
};

}  // namespace vellumo
