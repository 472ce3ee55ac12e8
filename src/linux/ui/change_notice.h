#pragma once

#include <memory>

#include "change/change_screen_view.h"

namespace vellumo {

// The change notice's window in Qt: frameless and centred, the program's icon, its name in
// bold and the shortened file name, laid out in twips like every platform's. It fades through
// the window's opacity where the screen shows opacity, and otherwise stays up as long as the
// fade would take. Its object name is "frmChanging"; the labels are "Image1", "Label1" and
// "lblFileName". A QApplication must exist.
std::unique_ptr<ChangeScreenView> CreateChangeNotice(ChangeScreenEvents& events);

}  // namespace vellumo
