#pragma once

#include "ui/layout.h"

namespace vellumo {

// The About box frmAbout as designed, in pixels at 96 dpi.
namespace about_layout {
inline constexpr int kClientWidth = 242;
inline constexpr int kClientHeight = 163;

// The product's name, centred on its box, bold: in the design a box of (6, 0, 209, 79); this band
// has the same centre and stays clear of the version's box.
inline constexpr Box kProduct{6, 16, 209, 47};
inline constexpr Box kVersion{198, 63, 35, 13};  // right-aligned
inline constexpr Box kCredit{78, 99, 170, 25};   // centred across, from the top
inline constexpr Box kLink{99, 126, 131, 19};    // centred
inline constexpr Box kImage{9, 87, 68, 68};      // the program's icon
inline constexpr Box kCancel{81, 195, 67, 25};   // below the client area: there only for Esc

// Fonts, bold, in hundredths of a point.
inline constexpr char kProductFace[] = "Tahoma";
inline constexpr int kProductPoints = 2175;
inline constexpr int kVersionPoints = 900;  // Arial
inline constexpr int kCreditPoints = 1125;  // Arial, the link's too
inline constexpr Colour kLinkColour{0, 0, 192};
}  // namespace about_layout

// frmAbout on a screen of `dpi`, in client device pixels.
struct AboutRects {
  DeviceRect client;
  DeviceRect product;
  DeviceRect version;
  DeviceRect credit;
  DeviceRect link;
  DeviceRect image;
  DeviceRect cancel;
};
AboutRects LayoutAbout(int dpi);

}  // namespace vellumo
