#!/usr/bin/env bash
# Times one background change ("vellumo -next") on a 6000 x 4000 JPEG: the Windows program under
# Wine against the Linux program, on the same file in the same session. Run from the repository
# root after preparing Wine:
#
#   source scripts/wine-env.sh && bench/windows-vs-linux.sh [windows-build] [linux-build] [runs]
#
# Windows: from process start to the wallpaper bitmap being complete (it is written just before
# SystemParametersInfoW) and to process end, less the fixed 200 ms wait; fading is off. The
# settings under HKCU\Software\Vellumo\Settings of $WINEPREFIX are overwritten.
# Linux: the same two times to its wallpaper file (a new vellumo-XXXXXX.png each run), with
# settings and data in temporary XDG folders and a gsettings stand-in that takes the wallpaper
# (without a desktop that takes it, the new file would be removed again).
set -euo pipefail

windows_build=${1:-build/windows}
linux_build=${2:-build/linux}
runs=${3:-5}
: "${WINEPREFIX:?source scripts/wine-env.sh first}"

work="$(realpath -m "$windows_build/bench-data")"
pictures="$work/pictures"
photo="$pictures/photo-6000x4000.jpg"
mkdir -p "$pictures"
if [ ! -f "$photo" ]; then
  echo "Generating $photo ..."
  convert -size 6000x4000 -seed 7 plasma:fractal -blur 0x1 -quality 90 "$photo"
fi
cat "$photo" >/dev/null

now_ms() { echo $(($(date +%s%N) / 1000000)); }
mtime_ms() { echo $(($(date -r "$1" +%s%N) / 1000000)); }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# --- Windows, under Wine ---
exe="$(realpath "$windows_build/vellumo.exe")"
bitmap="$(dirname "$exe")/vellumo.bmp"
key='HKCU\Software\Vellumo\Settings'
set_value() { wine reg add "$key" /v "$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1; }
set_value sSourceFolder "Z:$(echo "$pictures" | tr / '\\')\\"
set_value iSourceType 1
set_value bRandom False
set_value bFadeOut False
set_value iDisplayType 0

: >"$work/windows-spi.txt"
: >"$work/windows-total.txt"
for i in $(seq "$runs"); do
  set_value sLastFile ""
  rm -f "$bitmap"
  start=$(now_ms)
  wine "$exe" -next || echo "run $i: exit status $?" >&2
  end=$(now_ms)
  [ -f "$bitmap" ] || { echo "run $i: no bitmap written" >&2; exit 1; }
  echo $(($(mtime_ms "$bitmap") - start - 200)) >>"$work/windows-spi.txt"
  echo $((end - start - 200)) >>"$work/windows-total.txt"
done
windows_spi=$(median <"$work/windows-spi.txt")
windows_total=$(median <"$work/windows-total.txt")
echo "Windows (Wine): start to bitmap/SystemParametersInfoW ${windows_spi} ms," \
  "start to end ${windows_total} ms (medians of $runs, less 200 ms)"

# --- Linux ---
linux_exe="$linux_build/vellumo"
if [ ! -x "$linux_exe" ]; then
  echo "Linux: $linux_exe is not built; Windows side only."
  exit 0
fi
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/config/vellumo" "$home/tools"
cat >"$home/tools/gsettings" <<'SH'
#!/bin/sh
[ "$1" = get ] && echo "''"
exit 0
SH
chmod +x "$home/tools/gsettings"
# Beside the program when that folder is writable, else in the data folder.
linux_folders=("$(dirname "$(realpath "$linux_exe")")" "$home/data/vellumo")
: >"$work/linux-spi.txt"
: >"$work/linux-total.txt"
for i in $(seq "$runs"); do
  printf '[Settings]\nsSourceFolder=%s/\niSourceType=1\nbRandom=False\nbFadeOut=False\niDisplayType=0\nsLastFile=\n' \
    "$pictures" >"$home/config/vellumo/settings.ini"
  for folder in "${linux_folders[@]}"; do rm -f "$folder"/vellumo-*.png; done
  start=$(now_ms)
  env -u DISPLAY -u WAYLAND_DISPLAY XDG_CURRENT_DESKTOP=GNOME PATH="$home/tools:$PATH" \
    HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
    XDG_CACHE_HOME="$home/cache" "$linux_exe" -next 2>/dev/null || true
  end=$(now_ms)
  for folder in "${linux_folders[@]}"; do
    for b in "$folder"/vellumo-*.png; do
      [ -f "$b" ] && echo $(($(mtime_ms "$b") - start - 200)) >>"$work/linux-spi.txt"
    done
  done
  echo $((end - start - 200)) >>"$work/linux-total.txt"
done
[ -s "$work/linux-spi.txt" ] || { echo "Linux: no wallpaper file written" >&2; exit 1; }
linux_spi=$(median <"$work/linux-spi.txt")
linux_total=$(median <"$work/linux-total.txt")
echo "Linux: start to wallpaper file ${linux_spi} ms, start to end ${linux_total} ms" \
  "(medians of $runs, less 200 ms)"
awk -v ws="$windows_spi" -v wt="$windows_total" -v ls="$linux_spi" -v lt="$linux_total" 'BEGIN {
  printf "Ratio Windows/Linux: %.2f to the wallpaper call, %.2f to the end\n", ws / ls, wt / lt }'
