#pragma once

// Resource identifiers shared by the .rc file and the code that loads them.
#define IDI_VELLUMO 1
#define IDI_RATIO 2             // frmRatio's window icon
#define IDI_BROWSE 3            // the folder picker's button
#define IDI_DISPLAY_SETTINGS 4  // the button that opens frmRatio
// The toolbar's pictures, one strip for each size drawn.
#define IDB_TOOLBAR_32 10
#define IDB_TOOLBAR_48 11
#define IDB_TOOLBAR_64 12
