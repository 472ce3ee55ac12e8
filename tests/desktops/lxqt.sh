#!/usr/bin/env bash
# LXQt: pcmanfm-qt draws the desktop; vellumo hands it the picture with
# pcmanfm-qt --set-wallpaper, which reaches the running one over the session bus.
set -euo pipefail
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
drop_root "$@"
begin lxqt

start_xvfb
start_bus
export XDG_CURRENT_DESKTOP=LXQt QT_QPA_PLATFORM=xcb
start pcmanfm-qt pcmanfm-qt --desktop
ready "pcmanfm-qt draws the desktop" 10 has_window pcmanfm-qt
check_modes
