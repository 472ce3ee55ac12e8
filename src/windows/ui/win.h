#pragma once

// <windows.h> for the windows code. The SDK still defines the 16-bit era's Yield() as an empty
// macro, which would erase calls of EventLoop::Yield; it goes here, once.
#include <windows.h>

#ifdef Yield
#undef Yield
#endif
