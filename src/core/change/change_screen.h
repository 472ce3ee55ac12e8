#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "change/apply_picture.h"
#include "change/change_screen_view.h"
#include "platform/platform.h"
#include "startup/state.h"
#include "ui/layout.h"

namespace vellumo {

inline constexpr int kTriggerIntervalMs = 200;
// The fade-out's length, and the time a screen shows one frame.
inline constexpr std::chrono::milliseconds kFadeTime{512};
inline constexpr std::chrono::milliseconds kFrame{16};
inline constexpr int kFileNameLabelTwips = 2940;
inline constexpr int kEscape = 27;

// The change screen's layout in twips (15 to a pixel at 96 dpi), shared by every platform's
// window: its client area and its three parts.
struct TwipsRect {
  int left, top, width, height;
};
inline constexpr TwipsRect kChangingClient{0, 0, 4680, 1200};
inline constexpr TwipsRect kChangingImage{135, 90, 1005, 1005};   // the program's icon
inline constexpr TwipsRect kChangingTitle{1395, 315, 3210, 465};  // the program's name, bold
inline constexpr TwipsRect kChangingFileName{1620, 810, kFileNameLabelTwips, 240};
inline constexpr int kChangingTitleCentipoints = 1575;    // Arial bold
inline constexpr int kChangingFileNameCentipoints = 825;  // Arial

// The fade's alpha `elapsed` after it began: 255 at first, 0 at kFadeTime.
int FadeAlpha(std::chrono::steady_clock::duration elapsed);

// Pixels of a length of `twips`: whole twips per pixel, integer division (15 at 96 dpi, so a
// 2940-twip label is 196 pixels). The change screen is laid out with it.
int TwipsToPixels(int twips, int dpi);

// A part of the change screen on a screen of `dpi`: its corner and its size each in whole pixels.
DeviceRect ToDevice(const TwipsRect& twips, int dpi);

// The change screen frmChanging: shows the picture about to become the wallpaper, changes it on
// its one-shot timer, stores it as the last file and closes, fading out when asked to. It also
// serves the folder search as its progress window.
class ChangingForm : public ChangeScreenEvents {
 public:
  ChangingForm(State& state, Platform& platform) : state_(state), platform_(platform) {}
  ~ChangingForm() override;

  bool IsLoaded() const { return view_ != nullptr; }
  void Show();
  void ShowModal();
  void SetFileName(const std::string& text);
  const std::string& FileName() const { return file_name_; }
  bool TimerArmed() const { return timer_armed_; }
  const ChangeResult& LastChange() const { return last_change_; }

  // When sCurrentFile cannot be used, the change may try the other listed pictures instead;
  // `shown_before` is the picture the desktop showed, which random order tries last.
  struct StandIns {
    std::string shown_before;
  };

  // Shows the shortened sCurrentFile and arms the timer; loads the window, does not show it.
  // Without stand-ins the change applies exactly sCurrentFile or nothing.
  void TriggerNextPic(std::optional<StandIns> stand_ins = std::nullopt);
  // Unloads the window, fading it out first when bFadeOut is set. Nothing when not loaded.
  void Close();

  void OnTimer() override;
  // Esc ends a background run at once; during the change itself, right after it.
  void OnKeyPress(int char_code) override;

 private:
  void Load();
  void FadeOut();
  void ShowCurrentFile();
  ChangeResult ApplyFirstUsable();
  ChangeResult TryStandIns(ChangeResult result);
  void StoreLastFile();
  void TellOutcome();

  State& state_;
  Platform& platform_;
  std::unique_ptr<ChangeScreenView> view_;
  // A window closed from inside one of its own events is freed later, once its event is over.
  std::unique_ptr<ChangeScreenView> retired_;
  std::string file_name_;
  bool timer_armed_ = false;
  bool closing_ = false;
  bool changing_ = false;          // the tick's change is under way
  bool end_after_change_ = false;  // Esc came during it
  std::optional<StandIns> stand_ins_;
  ChangeResult last_change_;
};

}  // namespace vellumo
