#!/usr/bin/env bash
# Sway with swaybg on a headless output: vellumo sets the background through sway's IPC
# (swaymsg); grim takes the screenshots.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
drop_root "$@"
begin sway

# A variable in the configuration, as every user's has: a path holding "$mod" must keep it.
cat >"$root/sway.conf" <<'CONF'
output HEADLESS-1 resolution 1024x768
xwayland disable
set $mod Mod4
CONF
WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
  start sway sway -c "$root/sway.conf"
ready "sway has made its socket" 10 compgen -G "$XDG_RUNTIME_DIR/sway-ipc.*.sock"
SWAYSOCK=$(compgen -G "$XDG_RUNTIME_DIR/sway-ipc.*.sock")
WAYLAND_DISPLAY=$(basename "$(compgen -G "$XDG_RUNTIME_DIR/wayland-[0-9]")")
export SWAYSOCK WAYLAND_DISPLAY XDG_CURRENT_DESKTOP=sway:wlroots

shot() { grim -o HEADLESS-1 "$1"; }

check_modes
