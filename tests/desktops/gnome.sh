#!/usr/bin/env bash
# GNOME: gnome-shell as a headless Wayland compositor with a virtual monitor draws the
# background from org.gnome.desktop.background, which vellumo writes with gsettings (kept by
# dconf, which the bus starts). Screenshots through the shell's own Screenshot service.
# shellcheck disable=SC2046 # conditions are made as words, to be split
set -euo pipefail
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
drop_root "$@"
begin gnome

start_bus
# The shell asks logind and others on the system bus: a private bus stands in for it.
DBUS_SYSTEM_BUS_ADDRESS=$(dbus-daemon --session --fork --print-address=1 --print-pid=3 \
  3>"$root/system-bus.pid")
pids+=("$(cat "$root/system-bus.pid")")
export DBUS_SYSTEM_BUS_ADDRESS XDG_CURRENT_DESKTOP=GNOME GSETTINGS_BACKEND=dconf
start gnome-shell gnome-shell --headless --unsafe-mode --no-x11 \
  --virtual-monitor "${screen_w}x${screen_h}"

shell() {
  gdbus call --session --dest org.gnome.Shell --object-path "$1" --method "$2" "${@:3}"
}
started() {
  shell /org/gnome/Shell org.gnome.Shell.Eval 'Main.layoutManager._startingUp' | grep -q false
}
ready "gnome-shell has started" 60 started
# The shell starts in its overview, which hides the background.
shell /org/gnome/Shell org.gnome.Shell.Eval 'Main.overview.hide()' >/dev/null

shot() {
  shell /org/gnome/Shell/Screenshot org.gnome.Shell.Screenshot.Screenshot false false "$1" |
    grep -q true
}

# GNOME 43 headless draws a picture in "wallpaper" mode as one tile spread over the monitor:
# vellumo's tile must show the picture, and look as the one set by hand.
tile_shown() {
  quarters_conditions "$@"
}

check_modes

set_by_hand() {
  local option
  case "$2" in stretch) option=stretched ;; centre) option=centered ;; tile) option=wallpaper ;; esac
  gsettings set org.gnome.desktop.background picture-options "$option"
  gsettings set org.gnome.desktop.background picture-uri "file://$1"
  gsettings set org.gnome.desktop.background picture-uri-dark "file://$1"
}
by_hand tile $(tile_shown "${tile_colours[@]}")

# In dark mode the shell shows picture-uri-dark.
gsettings set org.gnome.desktop.interface color-scheme prefer-dark
run "dark mode" "$plain/program/vellumo" "$plain/centre" 2 $(centre_conditions "$centre_colour")
