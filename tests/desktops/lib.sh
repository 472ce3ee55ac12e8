# The shared part of the real-desktops suite, sourced by each desktop's script: private folders,
# display and bus; the processes started and ended; generated pictures; vellumo's runs; screenshots
# read back pixel by pixel; one line per check and a summary.
#
# A desktop's script starts the desktop, exports the variables vellumo tells it by, replaces
# `shot` where the screen is not an X server's, and calls check_modes. Run as root, everything runs as an unprivileged user
# of its own: sway refuses root, and a desktop is a user's.
# shellcheck shell=bash
# shellcheck disable=SC2046 # conditions are made as words, to be split

suite_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$suite_dir/../.." && pwd)
VELLUMO=${VELLUMO:-$repo/build/linux/vellumo}
test_user=vellumo-desktops
screen_w=1024
screen_h=768

# As root, the script runs again as $test_user, with a bare environment, from a copy of the
# suite and the program that user can read (the repository may lie in root's home).
drop_root() {
  [ "$(id -u)" -ne 0 ] && return 0
  id "$test_user" >/dev/null 2>&1 ||
    useradd --system --user-group --home-dir /nonexistent --shell /usr/sbin/nologin "$test_user"
  local copy
  copy=$(mktemp -d /tmp/vellumo-desktops-suite.XXXXXX)
  cp "$suite_dir"/*.sh "$copy/"
  cp "$VELLUMO" "$copy/vellumo"
  chown -R "$test_user:$test_user" "$copy"
  chmod 755 "$copy"
  exec setpriv --reuid="$test_user" --regid="$test_user" --clear-groups \
    env -i PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 VELLUMO="$copy/vellumo" \
    SUITE_COPY="$copy" KEEP="${KEEP:-}" bash "$copy/$(basename "$0")" "$@"
}

# begin NAME: a private HOME, XDG folders and runtime folder; nothing of the caller's session.
begin() {
  name=$1
  passed=0
  failed=0
  started_at=$(date +%s%N)
  root=$(mktemp -d "/tmp/vellumo-$name.XXXXXX")
  chmod 755 "$root"
  export HOME=$root/home XDG_CONFIG_HOME=$root/config XDG_DATA_HOME=$root/data
  export XDG_CACHE_HOME=$root/cache XDG_STATE_HOME=$root/state XDG_RUNTIME_DIR=$root/runtime
  mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_STATE_HOME" \
    "$root/logs" "$root/shots"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  unset DISPLAY WAYLAND_DISPLAY SWAYSOCK XDG_CURRENT_DESKTOP DESKTOP_SESSION XDG_SESSION_TYPE \
    DBUS_SESSION_BUS_ADDRESS DBUS_SYSTEM_BUS_ADDRESS HYPRLAND_INSTANCE_SIGNATURE \
    KDE_SESSION_VERSION KDE_FULL_SESSION QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME
  export XDG_DATA_DIRS=/usr/local/share:/usr/share XDG_CONFIG_DIRS=/etc/xdg
  trap finish EXIT
}

# start LOG COMMAND...: in the background, its output in logs/LOG.log.
pids=()
start() {
  local log=$1
  shift
  "$@" >"$root/logs/$log.log" 2>&1 &
  pids+=("$!")
}

# Every process holding our runtime folder in its environment: those we started, what they
# started, and the services our private bus started. Nothing else has that folder.
ours() {
  local environ pid
  for environ in /proc/[0-9]*/environ; do
    pid=${environ#/proc/}
    pid=${pid%/environ}
    [ "$pid" = "$$" ] || [ "$pid" = "$BASHPID" ] && continue
    grep -qzxF "XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR" "$environ" 2>/dev/null && echo "$pid"
  done
  return 0
}

stop_all() {
  local pid left
  for pid in "${pids[@]}" $(ours); do kill "$pid" 2>/dev/null || true; done
  for _ in $(seq 30); do
    left=$(ours)
    [ -z "$left" ] && break
    sleep 0.1
  done
  for pid in $(ours); do kill -KILL "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
}

finish() {
  local status=$?
  trap - EXIT
  stop_all
  local seconds=$((($(date +%s%N) - started_at) / 1000000000))
  echo "$name: $passed passed, $failed failed, ${seconds}s"
  [ -n "${SUITE_COPY:-}" ] && rm -rf "$SUITE_COPY"
  if [ "$failed" -gt 0 ] || [ "$status" -ne 0 ] || [ -n "${KEEP:-}" ]; then
    echo "$name: logs and screenshots kept in $root"
  else
    rm -rf "$root"
  fi
  [ "$failed" -eq 0 ] && [ "$status" -eq 0 ]
}

pass() {
  passed=$((passed + 1))
  echo "ok   $name: $*"
}

fail() {
  failed=$((failed + 1))
  echo "FAIL $name: $*"
}

# wait_for SECONDS COMMAND...: until the command succeeds; false when it never did.
wait_for() {
  local tries=$(($1 * 10))
  shift
  for _ in $(seq "$tries"); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

# ready WHAT SECONDS COMMAND...: a check that the desktop came up (the command succeeded in
# time); without it there is nothing to look at, and the script ends.
ready() {
  local what=$1
  shift
  if wait_for "$@"; then
    pass "$what"
  else
    fail "$what: not within $1 s"
    exit 1
  fi
}

# A private X server of the screen's size, on a display number it chose itself; DISPLAY names it.
start_xvfb() {
  local number=$root/display
  rm -f "$number"
  start xvfb Xvfb -displayfd 3 -screen 0 "${screen_w}x${screen_h}x24" -nolisten tcp -noreset \
    3>"$number"
  wait_for 10 test -s "$number"
  DISPLAY=:$(cat "$number")
  export DISPLAY
}

# start_xorg MONITORS: a private Xorg with the dummy driver instead, its outputs DUMMY0 and, for
# two monitors, DUMMY1 right of it connected, each of the screen's size.
start_xorg() {
  local number=$root/display second=""
  [ "$1" -eq 2 ] && second='Option "Monitor-DUMMY1" "right"'
  cat >"$root/xorg.conf" <<CONF
Section "ServerFlags"
  Option "AutoAddDevices" "false"
EndSection
Section "Monitor"
  Identifier "left"
EndSection
Section "Monitor"
  Identifier "right"
  Option "Enable" "true"
  Option "RightOf" "left"
  Option "PreferredMode" "${screen_w}x$screen_h"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 65536
  Option "Monitor-DUMMY0" "left"
  $second
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "left"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual $((screen_w * 2)) $screen_h
  EndSubSection
EndSection
CONF
  rm -f "$number"
  start xorg /usr/lib/xorg/Xorg -displayfd 3 -config "$root/xorg.conf" -noreset -nolisten tcp \
    -logfile "$root/logs/xorg-server.log" 3>"$number"
  wait_for 10 test -s "$number"
  DISPLAY=:$(cat "$number")
  export DISPLAY
}

# new_login xvfb | new_login xorg MONITORS: the session ends and a new one starts for the same
# user, as at the next login: a new X server of that kind and a new bus, the same folders.
new_login() {
  stop_all
  pids=()
  "start_$1" "${@:2}"
  start_bus
}

# has_window CLASS: whether a window of that class (WM_CLASS) is on the X server.
has_window() {
  xwininfo -root -tree | grep -qF "(\"$1\" "
}

# A private session bus; the services it starts go with the test.
start_bus() {
  local address
  address=$(dbus-daemon --session --fork --print-address=1 --print-pid=3 3>"$root/bus.pid")
  pids+=("$(cat "$root/bus.pid")")
  export DBUS_SESSION_BUS_ADDRESS=$address
}

# picture FILE WIDTH HEIGHT COLOUR [COLOUR COLOUR COLOUR]: one colour, or four quadrants (top
# left, top right, bottom left, bottom right), as a 24-bit BMP.
picture() {
  local file=$1 w=$(($2 / 2)) h=$(($3 / 2))
  if [ $# -eq 4 ]; then
    convert -size "$2x$3" "xc:#$4" -type TrueColor "BMP3:$file"
    return
  fi
  convert -size "${w}x$h" "xc:#$4" "xc:#$5" +append \( -size "${w}x$h" "xc:#$6" "xc:#$7" \
    +append \) -append -type TrueColor "BMP3:$file"
}

# shot FILE: the screen as a PNG, of the monitor that starts at $monitor_x; this is an X
# server's, a desktop's script may replace it.
monitor_x=0
shot() {
  import -window root -crop "${screen_w}x$screen_h+$monitor_x+0" +repage "$1"
}

# pixels SHOT X,Y...: each point's colour, RRGGBB, one a line.
pixels() {
  local shot=$1 format="" point
  shift
  for point in "$@"; do format+="%[hex:p{$point}]\n"; done
  convert "$shot" -format "$format" info: | cut -c1-6
}

# Colours this close count as equal: scaling and the desktops' filters move them a little.
same_colour() {
  local a=$1 b=$2 i d
  for i in 0 2 4; do
    d=$((16#${a:i:2} - 16#${b:i:2}))
    [ "${d#-}" -le 24 ] || return 1
  done
}

# one_of COLOUR RRGGBB|RRGGBB...
one_of() {
  local choice
  for choice in ${2//|/ }; do same_colour "$1" "$choice" && return 0; done
  return 1
}

# holds SHOT CONDITION...: whether every condition holds on the screenshot; the ones that do
# not are left in $broken. A condition is X,Y=RRGGBB, X,Y!=RRGGBB, X,Y~RRGGBB|RRGGBB... (one of
# those), X,Y==X,Y (the two points are alike) or X,Y<>X,Y (they differ).
holds() {
  local shot=$1 condition points=() colours
  shift
  for condition in "$@"; do
    case "$condition" in
      *'<>'*) points+=("${condition%%<>*}" "${condition#*<>}") ;;
      *'=='*) points+=("${condition%%==*}" "${condition#*==}") ;;
      *'!='*) points+=("${condition%%!=*}") ;;
      *'~'*) points+=("${condition%%~*}") ;;
      *) points+=("${condition%%=*}") ;;
    esac
  done
  mapfile -t colours < <(pixels "$shot" "${points[@]}")
  broken=""
  local i=0 a b
  for condition in "$@"; do
    a=${colours[i]}
    case "$condition" in
      *'<>'*) b=${colours[i + 1]} i=$((i + 2)) && ! same_colour "$a" "$b" ;;
      *'=='*) b=${colours[i + 1]} i=$((i + 2)) && same_colour "$a" "$b" ;;
      *'!='*) i=$((i + 1)) && ! same_colour "$a" "${condition#*!=}" ;;
      *'~'*) i=$((i + 1)) && one_of "$a" "${condition#*~}" ;;
      *) i=$((i + 1)) && same_colour "$a" "${condition#*=}" ;;
    esac || broken+=" $condition (${a}${b:+/$b})"
    b=""
  done
  [ -z "$broken" ]
}

# shown FILE CONDITION...: takes screenshots into FILE until the conditions hold on a screen
# that has settled (two screenshots alike: desktops fade one picture into the next), for up to
# 20 s (a desktop redraws in its own time).
shown() {
  local file=$1 previous=$root/previous.png
  shift
  rm -f "$previous"
  for _ in $(seq 40); do
    broken=" no screenshot"
    if shot "$file" 2>>"$root/logs/shots.log" && holds "$file" "$@"; then
      [ -f "$previous" ] && compare -metric AE -fuzz 2% "$previous" "$file" null: 2>/dev/null &&
        return 0
      broken=" the screen did not settle"
      cp "$file" "$previous"
    else
      rm -f "$previous"
    fi
    sleep 0.5
  done
  return 1
}

# expect WHAT CONDITION...: a check that the screen comes to show the conditions; the last
# screenshot is kept as shots/WHAT.png.
expect() {
  local what=$1
  shift
  if shown "$root/shots/${what// /-}.png" "$@"; then
    pass "$what"
  else
    fail "$what:$broken"
    return 1
  fi
}

# by_hand MODE CONDITION...: vellumo's picture of the plain run MODE (stretch, centre or tile),
# set again with the desktop's own tool (the script's set_by_hand FILE MODE) after a black one,
# must look as vellumo's run did, where the desktop lays a mode out its own way.
by_hand() {
  local mode=$1 file="$root/by-hand-$1.png" difference
  shift
  convert -size 16x16 xc:black "$root/black.png"
  convert "$plain/$mode/$mode.bmp" "$file"
  set_by_hand "$root/black.png" stretch
  shown "$root/shots/black.png" "$((screen_w / 2)),$((screen_h / 2))=000000" || true
  set_by_hand "$file" "$mode"
  expect "$mode: set by hand" "$@" || return 0
  # Pixels that differ by more than a tenth; the screens are alike if they are few.
  difference=$(compare -metric AE -fuzz 10% "$root/shots/$mode:-shown.png" \
    "$root/shots/$mode:-set-by-hand.png" null: 2>&1 || true)
  if [ "${difference%% *}" -le $((screen_w * screen_h / 200)) ] 2>/dev/null; then
    pass "$mode: vellumo's screen is the one set by hand"
  else
    fail "$mode: vellumo's screen differs from the one set by hand in $difference pixels"
  fi
}

# The pictures, each of colours no other run shows: a 4:3 picture in quadrants to stretch, a
# flat picture to centre, a 64 x 64 picture in 32 x 32 quadrants to tile.
stretch_colours=(c02828 28c028 2828c0 c0c028)
odd_colours=(18a0a0 a018a0 a0a018 686868)
newline_colours=(f08c8c 8cf08c 8c8cf0 f0f08c)
latin1_colours=(8c5014 14508c 508c14 f0c8a0)
centre_colour=c040c0
tile_colours=(e08040 40e080 8040e0 e0e0e0)

# Quadrant colours where a stretched picture lands, its quadrants meeting at the screen's
# centre, and reaching the screen's left and right edges (panels may cover the top and bottom).
stretch_conditions() {
  local x1=$((screen_w / 4)) x2=$((screen_w * 3 / 4)) y1=$((screen_h / 4)) y2=$((screen_h * 3 / 4))
  local cx=$((screen_w / 2)) cy=$((screen_h / 2))
  echo "$x1,$y1=$1" "$x2,$y1=$2" "$x1,$y2=$3" "$x2,$y2=$4" "4,$((cy - 8))=$1" \
    "$((screen_w - 5)),$((cy + 8))=$4" "$((cx - 4)),$((cy - 4))=$1" "$((cx + 4)),$((cy - 4))=$2" \
    "$((cx - 4)),$((cy + 4))=$3" "$((cx + 4)),$((cy + 4))=$4"
}

# A 240 x 120 picture at the screen's centre, at its own size: inside its edges the colour,
# just outside them and in the corners another.
centre_conditions() {
  local cx=$((screen_w / 2)) cy=$((screen_h / 2)) c=$1
  echo "$cx,$cy=$c" "$((cx - 114)),$cy=$c" "$((cx + 114)),$cy=$c" "$cx,$((cy - 54))=$c" \
    "$cx,$((cy + 54))=$c" "$((cx - 126)),$cy!=$c" "$((cx + 126)),$cy!=$c" \
    "$cx,$((cy - 66))!=$c" "$cx,$((cy + 66))!=$c" "4,4!=$c"
}

# four_colours X,Y X,Y X,Y X,Y COLOUR...: each point shows one of the colours, no two the same.
four_colours() {
  local points=("$1" "$2" "$3" "$4") colours point
  shift 4
  colours=$(
    IFS='|'
    echo "$*"
  )
  for point in "${points[@]}"; do echo "$point~$colours"; done
  echo "${points[0]}<>${points[1]}" "${points[0]}<>${points[2]}" "${points[0]}<>${points[3]}" \
    "${points[1]}<>${points[2]}" "${points[1]}<>${points[3]}" "${points[2]}<>${points[3]}"
}

# The 64 x 64 tile repeated at its own size wherever it starts: around two points, the four
# quadrants' colours within 32 pixels, and the same again 64 pixels on.
tile_conditions() {
  local x y point
  for point in 200,200 $((screen_w - 150)),$((screen_h - 150)); do
    x=${point%,*} y=${point#*,}
    echo "$x,$y==$((x + 64)),$y" "$x,$y==$x,$((y + 64))"
    four_colours "$x,$y" "$((x + 32)),$y" "$x,$((y + 32))" "$((x + 32)),$((y + 32))" "$@"
  done
}

# What a tiled run must show; a desktop's script may replace it where the desktop tiles its own
# way (and compare with the tile it draws when set by hand).
tile_shown() {
  tile_conditions "$@"
}

# The four colours, one in each quarter of the screen: the picture shown, whatever its layout.
quarters_conditions() {
  local x1=$((screen_w / 4)) x2=$((screen_w * 3 / 4)) y1=$((screen_h / 4)) y2=$((screen_h * 3 / 4))
  four_colours "$x1,$y1" "$x2,$y1" "$x1,$y2" "$x2,$y2" "$@"
}

# vellumo PROGRAM SOURCE MODE: one "vellumo -next" over the pictures in SOURCE (1 stretch,
# 2 centre, 3 tile), with settings written as a user would; its output in logs/vellumo.log.
vellumo() {
  local program=$1 source=$2 mode=$3 status=0
  mkdir -p "$XDG_CONFIG_HOME/vellumo"
  printf '[Settings]\niSourceType=1\nsSourceFolder=%s/\nbRandom=False\niDisplayType=%s\n' \
    "$source" "$mode" >"$XDG_CONFIG_HOME/vellumo/settings.ini"
  echo "== $program -next (mode $mode)" >>"$root/logs/vellumo.log"
  "$program" -next >>"$root/logs/vellumo.log" 2>&1 || status=$?
  return "$status"
}

# run WHAT PROGRAM SOURCE MODE CONDITION...: one vellumo run, then what it shows and leaves.
run() {
  local what=$1 program=$2 source=$3 mode=$4 status=0
  shift 4
  vellumo "$program" "$source" "$mode" || status=$?
  if [ "$status" -eq 0 ]; then
    pass "$what: vellumo -next exits 0"
  else
    fail "$what: vellumo -next exited $status ($(tail -n 1 "$root/logs/vellumo.log"))"
  fi
  expect "$what: shown" "$@" || true
  if one_wallpaper_file "$program"; then
    pass "$what: one wallpaper file left"
  else
    fail "$what: not one wallpaper file left: $(wallpaper_files "$program")"
  fi
}

wallpaper_files() {
  find "$(dirname "$1")" "$XDG_DATA_HOME/vellumo" -maxdepth 1 -name 'vellumo-*.png' 2>/dev/null |
    tr '\n' ' '
}

# Exactly one wallpaper file of ours beside PROGRAM and in the data folder together: the one
# shown, wherever the program chose to write it.
one_wallpaper_file() {
  [ "$(find "$(dirname "$1")" "$XDG_DATA_HOME/vellumo" -maxdepth 1 -name 'vellumo-*.png' \
    -printf . 2>/dev/null)" = . ]
}

# The programs and pictures of the runs: the program copied to a plain folder, to one whose
# name holds what a desktop's syntax may trip on (with its pictures beside it), to one whose
# name is no UTF-8 (an accent in Latin-1) and to one whose name holds a line break (the
# settings file would need those two escaped, so their pictures stay in a plain folder).
make_pictures() {
  plain=$root/plain
  odd="$root/it's \"odd\" \\ été \$mod, #1"
  latin1="$root/"$'\xe9t\xe9'
  newline="$root/new"$'\n'"line"
  [ -d "$plain" ] && return 0
  mkdir -p "$plain"/{program,stretch,centre,tile,latin1,newline} "$odd"/{program,pictures} \
    "$latin1/program" "$newline/program"
  for folder in "$plain" "$odd" "$latin1" "$newline"; do
    cp "$VELLUMO" "$folder/program/vellumo"
  done
  picture "$plain/stretch/stretch.bmp" 320 240 "${stretch_colours[@]}"
  picture "$plain/centre/centre.bmp" 240 120 "$centre_colour"
  picture "$plain/tile/tile.bmp" 64 64 "${tile_colours[@]}"
  picture "$odd/pictures/odd.bmp" 320 240 "${odd_colours[@]}"
  picture "$plain/latin1/latin1.bmp" 320 240 "${latin1_colours[@]}"
  picture "$plain/newline/newline.bmp" 320 240 "${newline_colours[@]}"
}

# The runs every desktop gets: stretch, centre and tile; stretch again from the odd folders, and
# with the program in the Latin-1 folder and in the one with a line break (a desktop that cannot
# take or keep such a path gets the wallpaper file from the data folder).
check_modes() {
  make_pictures
  run stretch "$plain/program/vellumo" "$plain/stretch" 1 \
    $(stretch_conditions "${stretch_colours[@]}")
  run centre "$plain/program/vellumo" "$plain/centre" 2 $(centre_conditions "$centre_colour")
  run tile "$plain/program/vellumo" "$plain/tile" 3 $(tile_shown "${tile_colours[@]}")
  run "odd folder names" "$odd/program/vellumo" "$odd/pictures" 1 \
    $(stretch_conditions "${odd_colours[@]}")
  run "Latin-1 folder name" "$latin1/program/vellumo" "$plain/latin1" 1 \
    $(stretch_conditions "${latin1_colours[@]}")
  run "line break in the folder name" "$newline/program/vellumo" "$plain/newline" 1 \
    $(stretch_conditions "${newline_colours[@]}")
}
