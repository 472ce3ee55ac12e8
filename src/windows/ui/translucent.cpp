#include "translucent.h"

namespace vellumo {

int Set_Translucency(HWND window, int alpha) {
  if (alpha < 0 || alpha > 255) return 1;
  int status = 0;

  // Both style calls return 0 for a legitimate zero too; only the last error tells a failure.
  SetLastError(ERROR_SUCCESS);
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
  if (style == 0 && GetLastError() != ERROR_SUCCESS) status = 2;

  SetLastError(ERROR_SUCCESS);
  if (SetWindowLongPtrW(window, GWL_EXSTYLE, style | WS_EX_LAYERED) == 0 &&
      GetLastError() != ERROR_SUCCESS) {
    status = 2;
  }

  if (!SetLayeredWindowAttributes(window, 0, static_cast<BYTE>(alpha), LWA_ALPHA)) status = 2;
  return status;
}

}  // namespace vellumo
