#pragma once

#include <string>
#include <string_view>

namespace vellumo {

// The wallpaper file has a place, a path such as <folder>/vellumo.png, but is never written
// under that name: desktops ignore a path they already show, so each change writes a new file
// beside it, <folder>/vellumo-XXXXXX.png (six ASCII letters or digits), the desktop is switched
// to it, and only then do the earlier ones go. Earlier versions rewrote <folder>/vellumo.bmp
// at every change; that name counts as ours too, so an update clears it.

// `place` with "-" and `suffix` put before its extension.
std::string FreshWallpaperPath(const std::string& place, std::string_view suffix);

// The name earlier versions wrote at `place_name`: its extension made ".bmp".
std::string EarlierWallpaperName(std::string_view place_name);

// True when the file name `name` is a wallpaper of ours at `place_name` (a file name too): a
// fresh name of exactly the form above, case included, or the earlier versions' name.
bool IsWallpaperFileOf(std::string_view name, std::string_view place_name);

// Moves `from` to `to` in one step, failing rather than replacing a file already there.
bool MoveToNewName(const std::string& from, const std::string& to);

// Removes every wallpaper file of ours in `place`'s folder except `keep` (which may lie in
// another folder); nothing else in the folder is touched.
void RemoveEarlierWallpapers(const std::string& place, const std::string& keep);

}  // namespace vellumo
