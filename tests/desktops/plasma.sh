#!/usr/bin/env bash
# KDE Plasma 5: plasmashell (with Mesa's software GL) draws the desktop; vellumo sets every
# desktop's image wallpaper through plasmashell's evaluateScript on the session bus.
# shellcheck disable=SC2046 # conditions are made as words, to be split
set -euo pipefail
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
drop_root "$@"
begin plasma

on_bus() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:"$1" | grep -q 'boolean true'
}
start_plasmashell() {
  LIBGL_ALWAYS_SOFTWARE=1 QT_QPA_PLATFORM=xcb start plasmashell plasmashell --no-respawn
  ready "plasmashell is on the bus" 60 on_bus org.kde.plasmashell
}

start_xvfb
start_bus
export XDG_CURRENT_DESKTOP=KDE KDE_FULL_SESSION=true KDE_SESSION_VERSION=5
start_plasmashell
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

# Two monitors (Xorg's dummy outputs; plasmashell does not see one connected while it runs): a
# monitor there from the login after the change on, and the next change reaching both.
new_xorg_login() {
  new_login xorg "$1"
  start_plasmashell
}
new_xorg_login 1
run "one monitor" "$plain/program/vellumo" "$plain/centre" 2 $(centre_conditions "$centre_colour")
new_xorg_login 2
run "two monitors: stretch on the first" "$plain/program/vellumo" "$plain/stretch" 1 \
  $(stretch_conditions "${stretch_colours[@]}")
monitor_x=$screen_w
expect "two monitors: stretch on the second" $(stretch_conditions "${stretch_colours[@]}") || true
