#!/usr/bin/env bash
# Takes the README's screenshots of the Windows settings window and its dialogs, under Wine on a
# private X server, over the repository's sample pictures: frmMain with the list and a preview
# at 96 and at 144 dpi, frmRatio and frmAbout at 96 dpi. Needs a Windows build (cmake --preset
# windows && cmake --build --preset windows), ImageMagick and xdotool.
#
#   scripts/screenshots.sh [windows-build] [out-folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/windows}
out=${2:-docs/screenshots}
mkdir -p "$out"
for tool in import xdotool; do
  command -v "$tool" >/dev/null || apt-get install -y -q imagemagick xdotool >/dev/null
done
samples="Z:$(realpath samples/pictures | tr / '\\')"

# The window of a title once it is mapped, or nothing after ten seconds.
wait_for() {
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 && return
    sleep 0.1
  done
}

# A click at a point given in 96-dpi client pixels of the settings window (374 x 366 client
# pixels at 96 dpi, framed by borders of equal width left, right and below).
click() {
  local window=$1 x=$2 y=$3 dpi=$4
  eval "$(xdotool getwindowgeometry --shell "$window")"
  local border=$(((WIDTH - 374 * dpi / 96) / 2))
  local left=$((X + border)) top=$((Y + HEIGHT - border - 366 * dpi / 96))
  xdotool mousemove --sync $((left + x * dpi / 96)) $((top + y * dpi / 96)) click 1
}

# Esc as the keyboard gives it, to the window under the mouse once a click has activated it.
press_escape() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + 8)) click 1 key Escape
  sleep 0.5
}

shoot() {
  local dpi=$1
  export VELLUMO_WINEPREFIX="$PWD/build/wineprefix-shots-$dpi"
  # A fresh X server each time: keys sent by an earlier run must not linger in Wine's idea of
  # the keyboard.
  unset DISPLAY
  rm -f "$VELLUMO_WINEPREFIX.display"
  WINEPREFIX="$VELLUMO_WINEPREFIX" wineserver -k 2>/dev/null || true
  # shellcheck source=wine-env.sh
  source scripts/wine-env.sh
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wineserver -k || true
  source scripts/wine-env.sh
  local key='HKCU\Software\Vellumo\Settings'
  wine reg add "$key" /v sSourceFolder /t REG_SZ /d "$samples" /f >/dev/null 2>&1
  wine reg add "$key" /v iSourceType /t REG_SZ /d 2 /f >/dev/null 2>&1

  wine "$build/vellumo.exe" >/dev/null 2>&1 &
  local program=$! main
  main=$(wait_for "Vellumo - v0.3b - by Corvane")
  [ -n "$main" ] || { echo "no settings window at $dpi dpi" >&2; return 1; }
  # The second row of the list: a picture to preview.
  click "$main" 60 158 "$dpi"
  sleep 1.5
  import -window "$main" "$out/frmMain-${dpi}dpi.png"
  if [ "$dpi" = 96 ]; then
    click "$main" 348 306 "$dpi"  # the display mode settings button
    local ratio
    ratio=$(wait_for "Automatic Display Mode Configuration")
    sleep 0.5
    import -window "$ratio" "$out/frmRatio.png"
    press_escape "$ratio"
    click "$main" 344 30 "$dpi"  # About
    local about
    about=$(wait_for "About Vellumo")
    sleep 0.5
    import -window "$about" "$out/frmAbout.png"
    press_escape "$about"
  fi
  click "$main" 275 348 "$dpi"  # SAVE and Exit
  wait "$program"
}

shoot 96
shoot 144
ls -l "$out"
