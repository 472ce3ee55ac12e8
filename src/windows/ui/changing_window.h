#pragma once

#include "win.h"

#include <string>
#include <vector>

#include "change/change_screen_view.h"
#include "event_loop.h"
#include "gdi.h"
#include "window.h"

namespace vellumo {

inline constexpr wchar_t kChangingClass[] = L"VellumoChanging";
inline constexpr UINT_PTR kTriggerTimerId = 1;

// Where frmChanging's parts go at a given dpi, in client pixels.
struct ChangingLayout {
  SIZE client;
  RECT image;      // Image1: the program's icon
  RECT title;      // Label1: the program's name
  RECT file_name;  // lblFileName: the shortened path
  int icon_size;
};

ChangingLayout LayoutChanging(int dpi);

// The top-left corner that centres a rectangle of `size` in `area`.
POINT CentreIn(const RECT& area, SIZE size);

// frmChanging: a borderless notice with the icon, the program's name and a file name, centred on
// the primary screen. Its timer ticks and key presses go to the change screen logic.
class WinChangeScreenView : public ChangeScreenView {
 public:
  WinChangeScreenView(ChangeScreenEvents& events, WinEventLoop& loop);

  void Show() override;
  void ShowModal() override;
  void SetFileName(const std::string& text) override;
  std::string TruncatePath(const std::string& path, int width) override;
  void StartTimer(int milliseconds) override;
  void StopTimer() override;
  int SetTranslucency(int alpha) override;
  void Destroy() override;

  HWND hwnd() const { return window_.hwnd(); }
  const ChangingLayout& layout() const { return layout_; }

 private:
  void Paint(HDC dc, const RECT& client);
  // Enables again the windows a modal show disabled.
  void EnableOthers();

  ChangeScreenEvents& events_;
  WinEventLoop& loop_;
  ChangingLayout layout_;
  Font title_font_;
  Font name_font_;
  Icon icon_;
  std::wstring file_name_;
  std::vector<HWND> disabled_;  // by ShowModal, until the notice goes
  Window window_;               // last: destroyed first, while the fonts and icon are still there
};

}  // namespace vellumo
