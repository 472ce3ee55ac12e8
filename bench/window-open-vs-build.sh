#!/usr/bin/env bash
# Opening the Linux settings window on a folder tree of 111 110 pictures in 11 111 folders
# (bench/picture-tree.py): from process start to the window's first paint (window_open_bench:
# the settings read, the list built with its progress on the change notice, the list box
# filled, the window shown; fading off), against the list building alone (list_build_bench,
# headless, to its end), alternating, in the same run, on a private X server. Run from the
# repository root:
#
#   bench/window-open-vs-build.sh [build-dir] [runs]
#
# Defaults: build/bench, 5 runs of each; medians. The X display is the first free one of
# $VELLUMO_TEST_DISPLAYS ("251-255"), else of 90 to 120. Needs: Xvfb, python3.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/bench}
runs=${2:-5}
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DVELLUMO_BENCH=ON
cmake --build "$build" -j "$(nproc)" --target window_open_bench list_build_bench >/dev/null
tree="$build/bench-data/picture-tree"
bench/picture-tree.py "$tree"
tree="$(realpath "$tree")/"

scratch=$(mktemp -d)
trap 'kill "${xvfb:-}" 2>/dev/null || true; rm -rf "$scratch"' EXIT
mkdir -p "$scratch/config/vellumo" "$scratch/runtime"
chmod 700 "$scratch/runtime"  # as a session's runtime folder is
settings="$scratch/config/vellumo/settings.ini"

range=${VELLUMO_TEST_DISPLAYS:-90-120}
for display in $(seq "${range%-*}" "${range#*-}"); do
  [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || break
done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done

window=(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u QT_QPA_PLATFORMTHEME DISPLAY=":$display"
  XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime"
  "$build/bench/window_open_bench")
ms_since() { python3 -c 'import sys; print(f"{(float(sys.argv[2]) - float(sys.argv[1])) * 1e3:.1f}")' "$@"; }

work="$build/bench-data"
: >"$work/window.txt"
: >"$work/list.txt"
for i in $(seq 0 "$runs"); do
  # The window stores its settings when it closes: the same ones again for every run.
  printf '[Settings]\niSourceType=2\nbFadeOut=False\nsSourceFolder=%s\n' "$tree" >"$settings"
  start=$EPOCHREALTIME
  out=$("${window[@]}")
  window_ms=""
  for key in qt_started_us shown_us first_paint_us; do
    us=$(sed -n "s/^$key //p" <<<"$out")
    window_ms+=" $(ms_since "$start" "${us:0:-6}.${us: -6}")"
  done
  start=$EPOCHREALTIME
  "$build/bench/list_build_bench" "$tree" >/dev/null
  list_ms=$(ms_since "$start" "$EPOCHREALTIME")
  [ "$i" = 0 ] && continue  # the first of each warms the caches
  echo "$window_ms" >>"$work/window.txt"
  echo "$list_ms" >>"$work/list.txt"
done

python3 - "$work/window.txt" "$work/list.txt" <<'PY'
import statistics, sys
window = [list(map(float, line.split())) for line in open(sys.argv[1])]
qt, shown, paint = (statistics.median(column) for column in zip(*window))
lists = statistics.median(float(line) for line in open(sys.argv[2]))
print(f"medians of {len(window)} runs, from process start:")
print(f"  settings window: QApplication started       {qt:8.1f} ms")
print(f"  settings window: shown (list built, filled) {shown:8.1f} ms")
print(f"  settings window: first paint                {paint:8.1f} ms")
print(f"  list building alone (headless): end         {lists:8.1f} ms")
print(f"  first paint / list building alone           {paint / lists:8.2f}")
PY
