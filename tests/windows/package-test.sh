#!/usr/bin/env bash
# The Windows packages end to end, under Wine: the installer installs silently for this user
# alone, the installed program changes the wallpaper from its installed place, and the
# uninstaller removes it all, and the settings and the change at logon only when asked; the
# zip's program runs from any folder. Run by scripts/package.sh on what it built:
#
#   source scripts/wine-env.sh && tests/windows/package-test.sh <dist folder> <version>
#
# Installs into, and changes the settings and wallpaper of, the prefix in WINEPREFIX.
set -euo pipefail

dist=$(realpath "${1:?dist folder}")
version=${2:?version}
: "${WINEPREFIX:?source scripts/wine-env.sh first}"
setup="$dist/vellumo-$version-setup.exe"
zip="$dist/vellumo-$version-win64.zip"

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
check() {  # description, command...
  local what=$1
  shift
  "$@" || fail "$what"
}

# One REG_SZ value, or nothing.
reg_value() {
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_SZ *//p"
}
reg_has_key() { wine reg query "$1" >/dev/null 2>&1; }
reg_has_value() { wine reg query "$1" /v "$2" >/dev/null 2>&1; }
reg_set() { wine reg add "$1" /v "$2" /t REG_SZ /d "$3" /f >/dev/null 2>&1; }
absent() { ! "$@"; }
equals() { [ "$1" = "$2" ] || { echo "  got '$1', expected '$2'" >&2; return 1; }; }
dos() {  # a Unix path as Wine's drive Z: shows it
  local path
  path=$(realpath -m "$1")
  printf 'Z:%s' "${path//\//\\}"
}

le16() { printf '%b' "$(printf '\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $(($1 >> 16)); }
# A BMP of one colour, 24 bits a pixel; the width a multiple of 4, so rows need no padding.
write_bmp() {  # path, width, height, blue, green, red
  local path=$1 width=$2 height=$3 pixel i
  pixel=$(printf '\\x%02x\\x%02x\\x%02x' "$4" "$5" "$6")
  {
    printf 'BM'; le32 $((54 + width * height * 3)); le32 0; le32 54
    le32 40; le32 "$width"; le32 "$height"; le16 1; le16 24; le32 0
    le32 $((width * height * 3)); le32 2835; le32 2835; le32 0; le32 0
    for ((i = 0; i < width * height; i++)); do printf '%b' "$pixel"; done
  } >"$path"
}

# The NSIS uninstaller runs from a copy of itself and returns at once: wait for that copy.
wait_for_uninstaller() {
  local _
  for _ in $(seq 150); do
    pgrep -f 'nsu.*\.tmp.Un' >/dev/null || [ -e "$installed" ] || return 0
    sleep 0.2
  done
  fail "the uninstaller still runs, or left its folder, after 30 s"
}

settings='HKCU\Software\Vellumo\Settings'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vellumo'
desktop='HKCU\Control Panel\Desktop'

local_data=$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')
installed_dos="$local_data\\Programs\\Vellumo"
installed=$(winepath -u "$installed_dos" 2>/dev/null)
shortcut=$(winepath -u "$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')" 2>/dev/null)
shortcut="$shortcut/Microsoft/Windows/Start Menu/Programs/Vellumo.lnk"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pictures="$work/My Pictures"
mkdir -p "$pictures"
write_bmp "$pictures/a.bmp" 40 30 0 0 200
write_bmp "$pictures/b.bmp" 64 48 0 200 0

# Settings for a change in list order, after a.bmp: b.bmp comes next.
prepare_settings() {
  wine reg delete "$settings" /f >/dev/null 2>&1 || true
  reg_set "$settings" sSourceFolder "$(dos "$pictures")\\"
  reg_set "$settings" iSourceType 1
  reg_set "$settings" bRandom False
  reg_set "$settings" bFadeOut False
  reg_set "$settings" sLastFile "$(dos "$pictures/a.bmp")"
}

# A program run with -next that must change the wallpaper to b.bmp, written beside it.
expect_change_by() {  # the program's Windows path
  local program=$1 bitmap="${1%\\*}\\vellumo.bmp"
  prepare_settings
  check "$program -next ends with 0" wine "$program" -next
  check "the wallpaper is $bitmap" equals "$(reg_value "$desktop" Wallpaper)" "$bitmap"
  check "the bitmap is written beside the program" test -s "$(winepath -u "$bitmap" 2>/dev/null)"
  check "b.bmp is remembered" equals "$(reg_value "$settings" sLastFile)" "$(dos "$pictures/b.bmp")"
}

echo "== a clean start"
if [ -f "$installed/Uninstall.exe" ]; then
  wine "$installed/Uninstall.exe" /S /PURGE
  wait_for_uninstaller
fi
rm -rf "$installed"

echo "== the installer, silently"
check "the installer ends with 0" wine "$setup" /S
check "vellumo.exe is in $installed_dos" test -f "$installed/vellumo.exe"
check "the Start menu has its shortcut" test -f "$shortcut"
check "Apps & features lists this version" \
  equals "$(reg_value "$uninstall_key" DisplayVersion)" "$version"
check "Apps & features knows the silent uninstall" \
  equals "$(reg_value "$uninstall_key" QuietUninstallString)" "\"$installed_dos\\Uninstall.exe\" /S"
sections=$(x86_64-w64-mingw32-objdump -h "$installed/vellumo.exe")
check "the installed program has no debug information" absent grep -q '\.debug_' <<<"$sections"
check "the installed program names its symbol file" grep -q gnu_debuglink <<<"$sections"

echo "== the installed program changes the wallpaper"
expect_change_by "$installed_dos\\vellumo.exe"

# The change every so often as the program registers it: a task of the user's named Vellumo.
# Wine keeps each task as a file in system32\Tasks.
task_file=$(winepath -u 'C:\windows\system32\Tasks\Vellumo' 2>/dev/null)
add_task() {
  cat >"$work/task.xml" <<EOF
<?xml version="1.0"?>
<Task version="1.2" xmlns="http://schemas.microsoft.com/windows/2004/02/mit/task">
  <Triggers><TimeTrigger><StartBoundary>2030-01-01T00:00:00</StartBoundary>
    <Repetition><Interval>PT15M</Interval></Repetition></TimeTrigger></Triggers>
  <Principals><Principal><LogonType>InteractiveToken</LogonType></Principal></Principals>
  <Actions><Exec><Command>"$installed_dos\vellumo.exe"</Command>
    <Arguments>-next</Arguments></Exec></Actions>
</Task>
EOF
  wine schtasks /create /tn Vellumo /xml "$(dos "$work/task.xml")" /f >/dev/null 2>&1
}

echo "== the uninstaller, silently: the settings and the scheduled changes stay"
reg_set "$run_key" Vellumo "\"$installed_dos\\vellumo.exe\" -next"
add_task
check "the task is registered" test -f "$task_file"
wine "$installed/Uninstall.exe" /S
wait_for_uninstaller
check "the install folder is gone, the bitmap with it" test ! -e "$installed"
check "the shortcut is gone" test ! -e "$shortcut"
check "Apps & features no longer lists it" absent reg_has_key "$uninstall_key"
check "the settings stay" reg_has_key "$settings"
check "the change at logon stays" reg_has_value "$run_key" Vellumo
check "the task stays" test -f "$task_file"

echo "== the uninstaller with /PURGE removes them too"
check "the installer runs again" wine "$setup" /S
wine "$installed/Uninstall.exe" /S /PURGE
wait_for_uninstaller
check "the install folder is gone" test ! -e "$installed"
check "the settings are gone" absent reg_has_key 'HKCU\Software\Vellumo'
check "the change at logon is gone" absent reg_has_value "$run_key" Vellumo
check "the task is gone" test ! -e "$task_file"

echo "== the zip: the program alone, running from any folder"
check "the zip holds vellumo.exe alone" equals "$(cmake -E tar tf "$zip")" "vellumo.exe"
unpacked="$work/any folder"
mkdir -p "$unpacked"
(cd "$unpacked" && cmake -E tar xf "$zip")
expect_change_by "$(dos "$unpacked")\\vellumo.exe"
wine reg delete "$settings" /f >/dev/null 2>&1 || true

if [ "$failures" -ne 0 ]; then
  echo "package-test: $failures check(s) failed" >&2
  exit 1
fi
echo "package-test: all checks passed"
