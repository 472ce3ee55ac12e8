#pragma once

#include "win.h"

#include <commctrl.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "ui/toolbar.h"

namespace vellumo {

// Command ids of the settings window's toolbar: the button's index above this base, and the
// menus' entries above their bases.
inline constexpr int kToolbarIdBase = 1000;
inline constexpr int kSourceMenuIdBase = 1100;
inline constexpr int kStartupMenuIdBase = 1200;

// The toolbar of the settings window: text under the images, check buttons, and the "Source"
// and "Startup" buttons whose arrows open their menus.
class MainToolbar {
 public:
  MainToolbar() = default;
  ~MainToolbar();
  MainToolbar(const MainToolbar&) = delete;
  MainToolbar& operator=(const MainToolbar&) = delete;

  // `on_menu` receives the "Source" menu's choice (1 to 3).
  bool Create(HWND parent, const RECT& rect, int dpi, HFONT font, std::function<void(int)> on_menu);
  HWND hwnd() const { return hwnd_; }
  // Receives the "Startup" menu's choice (1 to 5).
  std::function<void(int)> on_startup_menu;
  // What the "Startup" menu shows the next time it opens.
  void SetStartupMenu(const StartupMenuState& state) { startup_menu_ = state; }

  // The button index of a WM_COMMAND id from the toolbar, or 0.
  static int IndexOf(int command_id);
  static bool IsCheck(int index);
  bool IsPressed(int index) const;
  void SetPressed(int index, bool pressed);
  // The state a button's command leaves it in, to report with the command. The toolbar turns a
  // check button over before the command of a click or a key; a command that comes without
  // that (an accessibility tool's action may send just the command) turns it here, so that
  // every press turns the button and the state reported is the one shown.
  bool StateAfterCommand(int index);
  // 1-based, like the images of the toolbar's image list.
  void SetImage(int index, int image);
  int Image(int index) const;

  // Answers the toolbar's notifications: the "Source" and "Startup" arrows open their menus.
  LRESULT OnNotify(const NMHDR& header);

 private:
  static LRESULT CALLBACK KeyProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                  UINT_PTR id, DWORD_PTR self);
  // Space or Enter on the highlighted button; the arrow down or F4 on a button with a menu
  // opens it.
  bool OnKey(WPARAM key);
  // Opens the menu of button `index`, if it has one; false when it has none.
  bool OpenMenu(int index);
  int ShowSourceMenu(const RECT& button);
  int ShowStartupMenu(const RECT& button);
  // The entry under the keyboard or the mouse: a disabled one shows why in a tip beside it.
  void OnMenuSelect(HMENU menu, UINT id, UINT flags);
  void ShowMenuTip(HMENU menu, UINT id);

  HWND hwnd_ = nullptr;
  HIMAGELIST images_ = nullptr;
  std::function<void(int)> on_menu_;
  StartupMenuState startup_menu_;
  HWND menu_tip_ = nullptr;
  std::wstring menu_tip_text_;
  std::vector<std::wstring> captions_;  // the buttons point into these
  // Each button's state as last set or reported, by index.
  std::array<bool, kToolbarButtons.size() + 1> known_{};
};

// The side of the toolbar images drawn for a dpi: 32, 48 or 64 pixels.
int ToolbarImageSize(int dpi);

}  // namespace vellumo
