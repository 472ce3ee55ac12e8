#include "system_colours.h"

#include <windows.h>

namespace vellumo {

uint32_t Get_System_Colour(int index) {
  return GetSysColor(index);
}

}  // namespace vellumo
