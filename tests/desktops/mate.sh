#!/usr/bin/env bash
# MATE: caja draws the desktop from org.mate.background, which vellumo writes with gsettings
# (kept by dconf, which the bus starts).
# shellcheck disable=SC2046 # conditions are made as words, to be split
set -euo pipefail
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
drop_root "$@"
begin mate

start_xvfb
start_bus
export XDG_CURRENT_DESKTOP=MATE GSETTINGS_BACKEND=dconf
start caja caja -n --force-desktop
ready "caja draws the desktop" 10 has_window caja
check_modes

# MATE tiles from the screen's centre: vellumo's tile is compared with MATE's own, set by hand.
set_by_hand() {
  local option
  case "$2" in stretch) option=stretched ;; centre) option=centered ;; tile) option=wallpaper ;; esac
  gsettings set org.mate.background picture-options "$option"
  gsettings set org.mate.background picture-filename "$1"
}
by_hand centre $(centre_conditions "$centre_colour")
by_hand tile $(tile_conditions "${tile_colours[@]}")
