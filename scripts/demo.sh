#!/usr/bin/env bash
# Builds the Linux program and runs one background change ("vellumo -next") over the repository's
# sample pictures, with a throwaway settings folder and a private X server standing in for the
# desktop, then reports what it did.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

scripts/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$(nproc)" --target vellumo >/dev/null

scratch=$(mktemp -d)
trap 'kill "${xvfb_pid:-}" 2>/dev/null || true; rm -rf "$scratch"' EXIT
mkdir -p "$scratch/config/vellumo"
cat >"$scratch/config/vellumo/settings.ini" <<INI
[Settings]
iSourceType=2
sSourceFolder=$repo/samples/pictures/
INI

# A private X server, so the change has a desktop to show on.
for display in $(seq 90 120); do
  [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || break
done
Xvfb ":$display" -screen 0 1024x768x24 -noreset >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done

status=0
mkdir -m 700 "$scratch/runtime"  # where a session keeps its sockets and the run's lock
env -u XDG_CURRENT_DESKTOP DISPLAY=":$display" XDG_CONFIG_HOME="$scratch/config" \
  XDG_DATA_HOME="$scratch/data" XDG_RUNTIME_DIR="$scratch/runtime" \
  build/linux/vellumo -next || status=$?

settings="$scratch/config/vellumo/settings.ini"
echo "vellumo -next exited with status $status"
echo "picture chosen:  $(sed -n 's/^sLastFile=//p' "$settings")"
# A new vellumo-XXXXXX.png at each change, beside the program or else in the data folder.
wallpaper=""
for file in build/linux/vellumo-*.png "$scratch"/data/vellumo/vellumo-*.png; do
  [ -f "$file" ] && wallpaper=$file
done
if [ -n "$wallpaper" ]; then
  echo "file written:    $wallpaper ($(stat -c %s "$wallpaper") bytes)"
else
  echo "file written:    none"
fi
echo "root background: $(DISPLAY=":$display" xprop -root _XROOTPMAP_ID 2>/dev/null || echo none)"
echo "settings stored: $(grep -c = "$settings") keys in $settings"
if command -v import >/dev/null; then
  DISPLAY=":$display" import -window root build/linux/demo-screen.png &&
    echo "screenshot:      build/linux/demo-screen.png"
fi
exit "$status"
