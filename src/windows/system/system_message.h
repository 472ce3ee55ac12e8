#pragma once

#include <windows.h>

#include <string>

namespace vellumo {

// The system's own words for a Win32 error code or an HRESULT, as one short phrase: without
// the closing full stop and line break ("Access is denied"). Empty when the system has none.
std::string SystemMessage(DWORD error);

// The same for an HRESULT, through the Win32 code it wraps where it wraps one.
std::string SystemMessageOf(HRESULT result);

}  // namespace vellumo
