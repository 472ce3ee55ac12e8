#!/usr/bin/env bash
# XFCE: xfconfd (started by the bus) and xfdesktop drawing the desktop; vellumo writes the
# xfce4-desktop channel with xfconf-query.
# shellcheck disable=SC2046 # conditions are made as words, to be split
set -euo pipefail
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
new_login
start_xfdesktop
expect "after a new login: the last picture still shown" \
  $(stretch_conditions "${newline_colours[@]}") || true
