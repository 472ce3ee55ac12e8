#!/usr/bin/env bash
# KDE Plasma 5: plasmashell (with Mesa's software GL) draws the desktop; vellumo sets every
# desktop's image wallpaper through plasmashell's evaluateScript on the session bus.
# shellcheck disable=SC2046 # conditions are made as words, to be split
set -euo pipefail
source "$(dirname "$0")/lib.sh"
drop_root "$@"
begin plasma

start_xvfb
start_bus
export XDG_CURRENT_DESKTOP=KDE KDE_FULL_SESSION=true KDE_SESSION_VERSION=5
LIBGL_ALWAYS_SOFTWARE=1 QT_QPA_PLATFORM=xcb start plasmashell plasmashell --no-respawn
on_bus() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:"$1" | grep -q 'boolean true'
}
ready "plasmashell is on the bus" 60 on_bus org.kde.plasmashell
check_modes

# Plasma tiles from the screen's centre: vellumo's screens are compared with Plasma's own: the fill
# mode set by hand through its desktop scripting, the picture with plasma-apply-wallpaperimage.
set_by_hand() {
  local mode
  case "$2" in stretch) mode=0 ;; centre) mode=6 ;; tile) mode=3 ;; esac
  dbus-send --session --print-reply --dest=org.kde.plasmashell /PlasmaShell \
    org.kde.PlasmaShell.evaluateScript string:"desktops().forEach(function (d) {
      d.currentConfigGroup = ['Wallpaper', 'org.kde.image', 'General'];
      d.writeConfig('FillMode', $mode); })" >/dev/null
  plasma-apply-wallpaperimage "$1" >/dev/null
}
by_hand centre $(centre_conditions "$centre_colour")
by_hand tile $(tile_conditions "${tile_colours[@]}")
