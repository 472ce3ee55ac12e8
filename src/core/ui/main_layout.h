#pragma once

#include <array>

#include "ui/layout.h"
#include "ui/preview.h"
#include "ui/product.h"

namespace vellumo {

// The settings window as designed, in pixels at 96 dpi; each view scales it to its screen.
// Controls inside a frame are placed relative to the frame.

namespace main_layout {
inline constexpr int kClientWidth = 374;
inline constexpr int kClientHeight = 366;

inline constexpr Box kToolbar{0, 0, 374, 56};
inline constexpr Box kLocationFrame{3, 60, 367, 49};
inline constexpr Box kSourceText{9, 18, 325, 22};  // in the location frame
inline constexpr Box kBrowse{339, 18, 22, 22};     // in the location frame
inline constexpr Box kImagesFrame{3, 111, 172, 217};
inline constexpr Box kImageList{9, 21, 154, 186};  // in the images frame
inline constexpr Box kPreviewFrame{180, 111, 190, 163};
// In the preview frame: the check box over the caption's blanks, and the bordered area. The
// notice and the background lie just inside the border, which is one device pixel wide on
// every screen.
inline constexpr Box kPreviewCheck{8, 0, 16, 16};
inline constexpr Box kPreviewBorder{12, 25, 166, 127};
inline constexpr int kPreviewBorderPixels = 1;
inline constexpr Box kDisplayFrame{180, 276, 190, 52};
inline constexpr Box kDisplayList{9, 18, 142, 120};  // dropped-down height
inline constexpr Box kDisplaySettings{156, 18, 25, 25};
inline constexpr Box kNext{3, 336, 172, 25};
inline constexpr Box kSave{180, 336, 190, 25};
inline constexpr Box kCancel{135, 381, 94, 22};  // below the client area: never seen

// The preview area in window coordinates, which the picture is fitted into.
inline constexpr PreviewArea kPreviewArea{kPreviewFrame.left + kPreviewBorder.left,
                                          kPreviewFrame.top + kPreviewBorder.top,
                                          kPreviewBorder.width, kPreviewBorder.height};

// Where a picture placed at `rect` (window pixels at 96 dpi, from FitPreview) is drawn in the
// preview area on a screen of `dpi`: device pixels from the area's corner, at least one each way.
DeviceRect PreviewDeviceRect(const PreviewRect& rect, int dpi);

// Font sizes in hundredths of a point (Arial).
inline constexpr int kFramePoints = 825;     // frame captions, bold
inline constexpr int kButtonPoints = 1125;   // Next, Save and the display-mode list, bold
inline constexpr int kSourcePoints = 825;    // the source folder text
inline constexpr int kLoadingPoints = 1275;  // the preview's notice, bold
}  // namespace main_layout

namespace main_text {
inline constexpr char kCaption[] = "Vellumo - v0.3b - by Corvane";
inline constexpr char kLocation[] = "Location";
inline constexpr char kDisplayMode[] = "Display Mode";
inline constexpr char kNext[] = "Next Picture";
inline constexpr char kSave[] = "SAVE and Exit";
inline constexpr char kCancel[] = "Cancel";
inline constexpr char kBrowsePrompt[] = "Select Folder...";
inline constexpr char kBrowsePicturePrompt[] = "Select Picture...";
// Before a stored source that no longer exists, in the Location box.
inline constexpr char kMissing[] = "Missing: ";
inline constexpr char kMakeFile[] = "Make File";
inline constexpr char kScheduleFailed[] = "The wallpaper cannot be changed every so often: ";
inline constexpr const char* kMessageTitle = kProductName;
// The display-mode list; a row's index is its iDisplayType code.
inline constexpr std::array<const char*, 4> kDisplayModes{"Auto", "Stretch", "Center", "Tile"};
}  // namespace main_text

}  // namespace vellumo
