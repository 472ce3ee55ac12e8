#!/usr/bin/env bash
# Takes the README's screenshots of the settings window and its dialogs on a private X server.
#
#   scripts/screenshots.sh [windows-build] [out-folder]
#
# Windows, under Wine, over the repository's sample pictures: frmMain with the list and a preview
# at 96 and at 144 dpi, frmRatio and frmAbout at 96 dpi. Needs a Windows build (cmake --preset
# windows && cmake --build --preset windows), ImageMagick and xdotool.
#
#   scripts/screenshots.sh --linux [linux-build] [out-folder]
#
# Linux, Qt's own drawing of each window (QWidget::grab, no frame) by vellumo_ui_screenshots
# with sample content: frmMain at 96 and 144 dpi, frmRatio, frmAbout and the change notice
# frmChanging at 96 dpi, into docs/screenshots/linux. Builds that program in linux-build
# (default build/linux). The X display is the first free one of $VELLUMO_TEST_DISPLAYS
# ("251-255"), else of 90 to 120.
set -euo pipefail
cd "$(dirname "$0")/.."

# The first display number of a range ("251-255") with no X server on it.
free_display() {
  local first=${1%-*} last=${1#*-}
  for display in $(seq "$first" "$last"); do
    [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || {
      echo "$display"
      return
    }
  done
  return 1
}

linux_screenshots() {
  local build=${1:-build/linux} out=${2:-docs/screenshots/linux}
  [ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$build" -j "$(nproc)" --target vellumo_ui_screenshots >/dev/null
  local shots="$build/tests/linux/ui/vellumo_ui_screenshots" display
  display=$(free_display "${VELLUMO_TEST_DISPLAYS:-90-120}")
  runtime=$(mktemp -d)
  Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$runtime"' EXIT
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
  mkdir -p "$out"
  # Qt's own look, whatever theme the caller's desktop would lend it.
  local run=(env -u QT_QPA_PLATFORMTHEME -u QT_STYLE_OVERRIDE DISPLAY=":$display"
    QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$runtime")
  "${run[@]}" "$shots" "$out"
  "${run[@]}" QT_SCALE_FACTOR=1.5 "$shots" "$out" 144dpi
  ls -l "$out"
}

if [ "${1:-}" = --linux ]; then
  shift
  linux_screenshots "$@"
  exit
fi

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
  # The second row of the list: a picture to preview; then the mouse leaves, so that no tool
  # tip covers the window.
  click "$main" 60 158 "$dpi"
  xdotool mousemove --sync 0 0
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
