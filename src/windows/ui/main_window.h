#pragma once

#include "win.h"

#include <functional>
#include <string>

#include "change/change_screen_view.h"
#include "dialog.h"
#include "event_loop.h"
#include "gdi.h"
#include "image_list_box.h"
#include "main_toolbar.h"
#include "path_tips.h"
#include "preview_canvas.h"
#include "shell_dialogs.h"
#include "window.h"

namespace vellumo {

inline constexpr wchar_t kMainClass[] = L"VellumoMain";

// Control ids of frmMain; the hidden "Cancel" is IDCANCEL, so Esc presses it.
namespace main_id {
inline constexpr int kLocationFrame = 201;
inline constexpr int kSourceText = 202;
inline constexpr int kBrowse = 203;
inline constexpr int kImagesFrame = 204;
inline constexpr int kImageList = 205;
inline constexpr int kPreviewCheck = 206;
inline constexpr int kPreviewFrame = 207;
inline constexpr int kPreview = 208;
inline constexpr int kDisplayFrame = 209;
inline constexpr int kDisplayList = 210;
inline constexpr int kDisplaySettings = 211;
inline constexpr int kNext = 212;
inline constexpr int kSave = 213;
}  // namespace main_id

// The dialogs frmMain opens, replaceable so that tests need not drive a system dialog.
struct MainDialogs {
  using Browse =
      std::function<std::string(HWND owner, const std::string& prompt, const std::string& start)>;
  Browse browse_for_folder;
  Browse browse_for_picture;
};

// frmMain: the settings window. It is created hidden, for the settings logic of both runs, and
// shown only in an interactive run.
class WinMainView : public MainView {
 public:
  WinMainView(MainEvents& events, WinEventLoop& loop, MainDialogs dialogs = {});

  void Show() override;
  void Destroy() override { window_.Destroy(); }
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

  HWND hwnd() const { return window_.hwnd(); }
  HWND Control(int id) const { return GetDlgItem(window_.hwnd(), id); }
  const MainToolbar& toolbar() const { return toolbar_; }
  const PreviewCanvas& preview() const { return preview_; }
  HWND tips() const { return tips_.hwnd(); }

 private:
  void CreateControls();
  void CreateFrames();
  void CreatePreview();
  void CreateTips();
  void OnCommand(int id, int code);

  MainEvents& events_;
  WinEventLoop& loop_;
  MainDialogs dialogs_;
  int dpi_;
  Font frame_font_;
  Font button_font_;
  Font source_font_;
  Font notice_font_;
  Font message_font_;
  Font path_font_;  // the change screen's, for the search's progress texts
  Icon browse_icon_;
  Icon settings_icon_;
  MainToolbar toolbar_;
  ImageListBox images_;
  PreviewCanvas preview_;
  PathTips tips_;
  DialogFocus focus_;
  Window window_;  // last: destroyed first, while its fonts and pictures are still there
};

}  // namespace vellumo
