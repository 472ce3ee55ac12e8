#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/pictures.h"
#include "ui/preview.h"
#include "ui/ratio_form.h"
#include "ui/toolbar.h"

namespace vellumo {

// What the settings window reports back to its logic. Every event does nothing unless
// overridden, so code that needs a window but no logic (a benchmark, a test) can pass a plain
// MainEvents.
class MainEvents {
 public:
  virtual ~MainEvents() = default;

  // A toolbar button by index; a check button has already changed its own state to `pressed`.
  virtual void OnToolbarClick(int /*index*/, bool /*pressed*/) {}
  // An entry of the "Source" button's menu, 1 to 3.
  virtual void OnSourceMenu(int /*entry*/) {}
  // An entry of the "Startup" button's menu, 1 to 5.
  virtual void OnStartupMenu(int /*entry*/) {}
  virtual void OnBrowse() {}
  // The selected row of the image list, -1 for none.
  virtual void OnImageSelected(int /*row*/) {}
  // A double click on a row, or Enter on the selected one.
  virtual void OnImageDoubleClicked(int /*row*/) {}
  // The tool tip of a row, and of the preview: empty for none.
  virtual std::string OnImageTip(int /*row*/) { return {}; }
  virtual std::string OnPreviewTip() { return {}; }
  virtual void OnPreviewToggled(bool /*checked*/) {}
  virtual void OnDisplayModeChosen(int /*row*/) {}
  virtual void OnDisplaySettings() {}
  virtual void OnNext() {}
  virtual void OnSave() {}
  // The hidden "Cancel" (the Esc key) and the window's close box.
  virtual void OnCancel() {}
  // The user's session is ending (logging off, shutting down): the system ends the program
  // without closing the window, so nothing the window holds may wait for its close.
  virtual void OnEndSession() {}
};

// The settings window frmMain: it shows what its logic tells it and forwards the user's actions.
// In a background run it is created but never shown, so a view that shows nothing needs only
// the first four; the rest do nothing unless a view draws them.
class MainView {
 public:
  virtual ~MainView() = default;

  virtual void SetEnabled(bool enabled) = 0;
  // Shortens `path` to `width` pixels, measured in this window's drawing context.
  virtual std::string TruncatePath(const std::string& path, int width) = 0;
  virtual void Show() {}
  // Destroys the window; the object stays until its owner lets it go.
  virtual void Destroy() {}

  virtual void SetButtonPressed(int /*index*/, bool /*pressed*/) {}
  virtual void SetSourceImage(int /*image*/) {}  // 1 to 3
  virtual void SetStartupMenu(const StartupMenuState& /*state*/) {}

  virtual void SetSourceText(const std::string& /*text*/) {}
  // Replaces every row of the image list.
  virtual void SetImages(const std::vector<std::string>& /*names*/) {}
  virtual void SetImagesCaption(const std::string& /*caption*/) {}
  virtual void SetNextEnabled(bool /*enabled*/) {}
  virtual void SetDisplayRow(int /*row*/) {}

  virtual void SetPreviewCaption(const std::string& /*caption*/) {}
  virtual void SetLoadingText(const std::string& /*text*/) {}
  virtual void ShowLoading(bool /*visible*/) {}
  virtual void ShowPicture(bool /*visible*/) {}
  // Loads the picture for showing at about the preview area's size and keeps it, replacing the
  // one shown before. Its full size in pixels, or nothing when it cannot be loaded.
  virtual std::optional<PixelSize> LoadPicture(const std::string& /*path*/) { return {}; }
  virtual void ClearPicture() {}
  // Where the picture goes, in window pixels at 96 dpi.
  virtual void PlacePicture(const PreviewRect& /*rect*/) {}

  // A message box with an OK button.
  virtual void ShowMessage(const std::string& /*text*/, const std::string& /*title*/) {}
  virtual void ShowAbout() {}
  // The automatic-mode dialog, modal: the new thresholds on OK, nothing otherwise.
  virtual std::optional<AutoThresholds> EditThresholds(AutoThresholds /*current*/) { return {}; }
  // The system's folder dialog, opened at `start` where it exists: the chosen folder, or empty
  // when cancelled.
  virtual std::string BrowseForFolder(const std::string& /*prompt*/, const std::string& /*start*/) {
    return {};
  }
  // The system's file dialog for one picture (BMP, JPEG, GIF), opened at `start`'s folder: the
  // chosen file, or empty when cancelled.
  virtual std::string BrowseForPicture(const std::string& /*prompt*/,
                                       const std::string& /*start*/) {
    return {};
  }
};

}  // namespace vellumo
