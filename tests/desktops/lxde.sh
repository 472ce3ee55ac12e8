#!/usr/bin/env bash
# LXDE: pcmanfm draws the desktop; vellumo hands it the picture with pcmanfm --set-wallpaper,
# which passes it to the running one.
# shellcheck disable=SC2046 # conditions are made as words, to be split
set -euo pipefail
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
drop_root "$@"
begin lxde

start_xvfb
start_bus
export XDG_CURRENT_DESKTOP=LXDE
start_pcmanfm() {
  start pcmanfm pcmanfm --desktop
  ready "pcmanfm draws the desktop" 10 has_window pcmanfm
}
start_pcmanfm
check_modes

# pcmanfm stores the path in its settings file as it is, where a line break would cut it.
new_login xvfb
start_pcmanfm
expect "after a new login: the last picture still shown" \
  $(stretch_conditions "${newline_colours[@]}") || true
