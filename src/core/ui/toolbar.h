#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vellumo {

// The settings window's toolbar buttons; the commands dispatch on these indices.
namespace toolbar {
inline constexpr int kSource = 2;
inline constexpr int kRandom = 4;
inline constexpr int kRepeats = 5;
inline constexpr int kFadeOut = 6;
inline constexpr int kMakeFile = 8;
inline constexpr int kStartup = 9;
inline constexpr int kAbout = 10;
}  // namespace toolbar

// A drop-down button runs its command on its face and opens its menu on its arrow; a check
// drop-down is also pressed and released by its face.
enum class ButtonKind { kSeparator, kDropDown, kCheck, kCheckDropDown, kPlain };

constexpr bool IsCheck(ButtonKind kind) {
  return kind == ButtonKind::kCheck || kind == ButtonKind::kCheckDropDown;
}
constexpr bool HasMenu(ButtonKind kind) {
  return kind == ButtonKind::kDropDown || kind == ButtonKind::kCheckDropDown;
}

struct ToolbarButton {
  int index;
  const char* caption;  // empty for a separator
  ButtonKind kind;
  int image;  // 1-based in the toolbar's image list; 0 for none
  // " Make File " stays on the toolbar's list but is not shown: it has no command yet beyond
  // its message.
  bool visible;
};

inline constexpr std::array<ToolbarButton, 10> kToolbarButtons{{
    {1, "", ButtonKind::kSeparator, 0, true},
    {toolbar::kSource, "Source", ButtonKind::kDropDown, 2, true},
    {3, "", ButtonKind::kSeparator, 0, true},
    {toolbar::kRandom, "Random", ButtonKind::kCheck, 4, true},
    {toolbar::kRepeats, "Repeats", ButtonKind::kCheck, 5, true},
    {toolbar::kFadeOut, " Fade Out", ButtonKind::kCheck, 6, true},
    {7, "", ButtonKind::kSeparator, 0, true},
    {toolbar::kMakeFile, " Make File ", ButtonKind::kPlain, 7, false},
    {toolbar::kStartup, "Startup", ButtonKind::kCheckDropDown, 8, true},
    {toolbar::kAbout, "About", ButtonKind::kPlain, 9, true},
}};

inline constexpr int kToolbarImages = 9;

// The "Source" button's menu; entry m sets source type m - 1 and image m.
struct SourceMenuEntry {
  const char* text;
  const char* key;
};
inline constexpr std::array<SourceMenuEntry, 3> kSourceMenu{{
    {"File", "File"},
    {"Single Folder", "Folder"},
    {"Sub Folders", "SubFolders"},
}};

// The "Startup" button's menu: when the system starts the change, by minutes between changes.
struct StartupMenuEntry {
  const char* text;
  int16_t minutes;  // 0: at logon only
};
inline constexpr std::array<StartupMenuEntry, 5> kStartupMenu{{
    {"At Logon Only", 0},
    {"Every 15 Minutes", 15},
    {"Every Hour", 60},
    {"Every 6 Hours", 360},
    {"Every Day", 1440},
}};

// What the "Startup" menu shows.
struct StartupMenuState {
  int checked = 1;  // the entry of the current choice, 1-based; 0 for none
  // The entries of an interval; where they are not, `reason` says why.
  bool intervals_enabled = true;
  std::string reason;
};

// The entry (1-based) of an interval, 0 for one the menu does not offer.
int StartupMenuEntryOf(int minutes);

// A click on the face of "Source": 0 -> 1 -> 2 -> 1. The single file is reached only through
// the menu.
int16_t Next_Source_Type(int16_t source_type);

// The image of the "Source" button for a source type: type + 1, kept within the three source
// pictures for a type edited by hand outside them.
int SourceImage(int16_t source_type);

}  // namespace vellumo
