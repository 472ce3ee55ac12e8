#pragma once

#include <cstdint>

namespace vellumo {

// A system colour as 0x00BBGGRR (red in the low byte), e.g. index 1 for the desktop colour.
uint32_t Get_System_Colour(int index);

}  // namespace vellumo
