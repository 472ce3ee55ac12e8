#pragma once

#include "win.h"

#include <functional>
#include <string>

#include "event_loop.h"

namespace vellumo {

inline constexpr wchar_t kAboutClass[] = L"VellumoAbout";
inline constexpr int kLinkId = 201;  // lblLink

// Opens a web address with the shell's default action for it. A failure shows nothing.
void OpenInShell(const std::wstring& address);

using LinkOpener = std::function<void(const std::wstring& address)>;

// Shows frmAbout modally until Esc or the close box. The link calls `open_link` with the
// maker's address and leaves the box open.
void RunAboutBox(HWND owner, WinEventLoop& loop, const LinkOpener& open_link = OpenInShell);

}  // namespace vellumo
