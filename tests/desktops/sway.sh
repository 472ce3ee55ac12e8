#!/usr/bin/env bash
# Sway with swaybg on a headless output: vellumo sets the background through sway's IPC
# (swaymsg); grim takes the screenshots.
# shellcheck disable=SC2046 # conditions are made as words, to be split
set -euo pipefail
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
drop_root "$@"
begin sway

# A variable in the configuration, as every user's has: a path holding "$mod" must keep it.
cat >"$root/sway.conf" <<'CONF'
output HEADLESS-1 resolution 1024x768
output HEADLESS-2 resolution 1024x768 position 1024 0
xwayland disable
set $mod Mod4
CONF
WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
  start sway sway -c "$root/sway.conf"
ready "sway has made its socket" 10 compgen -G "$XDG_RUNTIME_DIR/sway-ipc.*.sock"
SWAYSOCK=$(compgen -G "$XDG_RUNTIME_DIR/sway-ipc.*.sock")
WAYLAND_DISPLAY=$(basename "$(compgen -G "$XDG_RUNTIME_DIR/wayland-[0-9]")")
export SWAYSOCK WAYLAND_DISPLAY XDG_CURRENT_DESKTOP=sway:wlroots

output=HEADLESS-1
shot() { grim -o "$output" "$1"; }

check_modes

# A second monitor connected after the change shows the picture too, and the next change
# reaches both.
swaymsg create_output >/dev/null
output=HEADLESS-2
expect "second output, connected later: shown" $(stretch_conditions "${newline_colours[@]}") ||
  true
run "two outputs: tile on the second" "$plain/program/vellumo" "$plain/tile" 3 \
  $(tile_conditions "${tile_colours[@]}")
output=HEADLESS-1
expect "two outputs: tile on the first" $(tile_conditions "${tile_colours[@]}") || true
