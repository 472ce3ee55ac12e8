#!/usr/bin/env bash
# What the change notice's window adds to a change at login: `vellumo -next` from process start
# to the wallpaper call, and its peak memory, with the notice on a private X server against the
# headless run (no display) of the same 1920 x 1280 JPEG, in the same run. Run from the
# repository root:
#
#   bench/notice-vs-headless.sh [build-dir] [runs]
#
# Defaults: build/bench, 10 runs of each, alternating. The desktop is a fake GNOME: a
# `gsettings` script first on PATH appends the time of each call to a file, so "wallpaper
# call" is the first gsettings the run starts, whatever the back-end does before it. Start is
# taken just before the program is started. Peaks are the lowest of three runs each
# (/usr/bin/time -v). The X display is the first free one of $VELLUMO_TEST_DISPLAYS ("251-255"),
# else of 90 to 120.
# Needs: Xvfb, ImageMagick, GNU time, python3.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/bench}
runs=${2:-10}
# shellcheck source=bench/photo.sh
. bench/photo.sh
cmake --build "$build" -j "$(nproc)" --target vellumo >/dev/null

scratch=$(mktemp -d)
trap 'kill "${xvfb:-}" 2>/dev/null || true; rm -rf "$scratch"' EXIT
mkdir -p "$scratch/bin" "$scratch/pictures" "$scratch/config/vellumo" "$scratch/data" \
  "$scratch/runtime"
chmod 700 "$scratch/runtime"  # as a session's runtime folder is
convert "$photo" -resize 1920x1280 -quality 90 "$scratch/pictures/picture.jpg"
printf '[Settings]\niSourceType=1\nsSourceFolder=%s/pictures/\n' "$scratch" \
  >"$scratch/config/vellumo/settings.ini"
calls="$scratch/calls.txt"
cat >"$scratch/bin/gsettings" <<SH
#!/bin/bash
echo "\$EPOCHREALTIME" >>"$calls"
[ "\$1" = get ] && echo "'file:///elsewhere.bmp'"
exit 0
SH
chmod +x "$scratch/bin/gsettings"

range=${VELLUMO_TEST_DISPLAYS:-90-120}
for display in $(seq "${range%-*}" "${range#*-}"); do
  [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || break
done
# -noreset: a bare Xvfb otherwise resets whenever its last client leaves, and a run connecting
# during that reset finds no display, as no desktop session ever does.
Xvfb ":$display" -screen 0 1920x1080x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done

unset_all=(-u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u QT_QPA_PLATFORMTHEME)
common=(PATH="$scratch/bin:$PATH" XDG_CURRENT_DESKTOP=GNOME XDG_CONFIG_HOME="$scratch/config"
  XDG_DATA_HOME="$scratch/data" XDG_RUNTIME_DIR="$scratch/runtime")
headless=(env "${unset_all[@]}" -u DISPLAY "${common[@]}" "$build/vellumo" -next)
notice=(env "${unset_all[@]}" "${common[@]}" DISPLAY=":$display" "$build/vellumo" -next)

# Milliseconds from start to the first gsettings call, and to the end.
run_once() {
  : >"$calls"
  local start=$EPOCHREALTIME
  "$@" || { echo "vellumo -next failed" >&2; exit 1; }
  local end=$EPOCHREALTIME
  python3 -c 'import sys; s, c, e = map(float, sys.argv[1:]); print(f"{(c-s)*1e3:.1f} {(e-s)*1e3:.1f}")' \
    "$start" "$(head -1 "$calls")" "$end"
}

"${headless[@]}" && "${notice[@]}"  # warm the page cache and the font cache
: >"$work/headless.txt"
: >"$work/notice.txt"
for _ in $(seq "$runs"); do
  run_once "${headless[@]}" >>"$work/headless.txt"
  run_once "${notice[@]}" >>"$work/notice.txt"
done
headless_peak=$(best_peak "${headless[@]}")
notice_peak=$(best_peak "${notice[@]}")

python3 - "$work/headless.txt" "$work/notice.txt" "$headless_peak" "$notice_peak" <<'PY'
import statistics, sys

def medians(path):
    rows = [list(map(float, line.split())) for line in open(path)]
    return [statistics.median(column) for column in zip(*rows)], len(rows)

(h_call, h_end), n = medians(sys.argv[1])
(q_call, q_end), _ = medians(sys.argv[2])
h_peak, q_peak = int(sys.argv[3]) / 1024, int(sys.argv[4]) / 1024
print(f"{'':40}{'headless':>10}{'notice':>10}{'added':>10}  target")
print(f"{'start to wallpaper call (median of %d)' % n:40}{h_call:7.1f} ms{q_call:7.1f} ms"
      f"{q_call - h_call:7.1f} ms  < 60 ms")
print(f"{'start to end':40}{h_end:7.1f} ms{q_end:7.1f} ms{q_end - h_end:7.1f} ms")
print(f"{'peak RSS':40}{h_peak:6.1f} MiB{q_peak:6.1f} MiB{q_peak - h_peak:6.1f} MiB  < 25 MiB")
PY
