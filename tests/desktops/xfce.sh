#!/usr/bin/env bash
# XFCE: xfconfd (started by the bus) and xfdesktop drawing the desktop; vellumo writes the
# xfce4-desktop channel with xfconf-query.
# shellcheck disable=SC2046 # conditions are made as words, to be split
set -euo pipefail
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
drop_root "$@"
begin xfce

start_xvfb
start_bus
export XDG_CURRENT_DESKTOP=XFCE

# A first login: the change comes while the channel is still empty, so vellumo creates the
# monitor's keys, and xfdesktop starts after it. Started without a window manager, xfdesktop
# shows keys it finds at its start only once told to reload (as a window manager's arrival
# does), the same with keys set by hand.
make_pictures
if vellumo "$plain/program/vellumo" "$plain/centre" 2; then
  pass "empty channel: vellumo -next exits 0"
else
  fail "empty channel: vellumo -next failed: $(tail -n 1 "$root/logs/vellumo.log")"
fi
start_xfdesktop() {
  start xfdesktop xfdesktop --disable-wm-check
  ready "xfdesktop draws the desktop" 10 has_window xfdesktop
  xfdesktop --reload
}
start_xfdesktop
expect "empty channel: shown by the new xfdesktop" $(centre_conditions "$centre_colour") || true

check_modes

# xfconfd stores the channel as XML, which would read a line break in the path back as a blank.
new_login xvfb
start_xfdesktop
expect "after a new login: the last picture still shown" \
  $(stretch_conditions "${newline_colours[@]}") || true

# Two monitors (Xorg's dummy outputs; xfdesktop does not see one connected while it runs): a
# monitor there from the login after the change on, for which xfdesktop makes its own keys, and
# the next change reaching both.
new_xorg_login() {
  new_login xorg "$1"
  start_xfdesktop
}
new_xorg_login 1
run "one monitor" "$plain/program/vellumo" "$plain/centre" 2 $(centre_conditions "$centre_colour")
new_xorg_login 2
run "two monitors: tile on the first" "$plain/program/vellumo" "$plain/tile" 3 \
  $(tile_conditions "${tile_colours[@]}")
monitor_x=$screen_w
expect "two monitors: tile on the second" $(tile_conditions "${tile_colours[@]}") || true
