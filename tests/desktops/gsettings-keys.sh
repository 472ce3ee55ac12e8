#!/usr/bin/env bash
# Cinnamon and Budgie, whose shells do not run here: their schemas install without them, so the
# keys vellumo writes are read back (dconf, started by the bus). Cinnamon has its own schema;
# Budgie reads GNOME's.
set -euo pipefail
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
drop_root "$@"
begin gsettings-keys

start_bus
export GSETTINGS_BACKEND=dconf
make_pictures

# The file a key names: gsettings prints a file URI in quotes, its bytes percent-encoded.
key_file() {
  local uri
  uri=$(gsettings get "$1" "$2")
  uri=${uri#\'file://}
  uri=${uri%\'}
  printf '%b' "${uri//%/\\x}"
}

# keys DESKTOP SCHEMA KEY...: vellumo's four runs with XDG_CURRENT_DESKTOP=DESKTOP; each time
# every KEY must name the one wallpaper file left, and picture-options the mode.
keys() {
  local desktop=$1 schema=$2 what program source mode option file key
  shift 2
  for what in stretch centre tile odd; do
    program=$plain/program/vellumo source=$plain/$what
    [ "$what" = odd ] && program=$odd/program/vellumo source=$odd/pictures
    case "$what" in centre) mode=2 option=centered ;; tile) mode=3 option=wallpaper ;;
      *) mode=1 option=stretched ;; esac
    if XDG_CURRENT_DESKTOP=$desktop vellumo "$program" "$source" "$mode"; then
      pass "$desktop $what: vellumo -next exits 0"
    else
      fail "$desktop $what: vellumo -next failed: $(tail -n 1 "$root/logs/vellumo.log")"
    fi
    file=$(find "$(dirname "$program")" -maxdepth 1 -name 'vellumo-*.png')
    for key in "$@"; do
      if [ -n "$file" ] && [ "$(key_file "$schema" "$key")" = "$file" ]; then
        pass "$desktop $what: $key names the wallpaper file"
      else
        fail "$desktop $what: $key is $(gsettings get "$schema" "$key"), not $file"
      fi
    done
    if [ "$(gsettings get "$schema" picture-options)" = "'$option'" ]; then
      pass "$desktop $what: picture-options $option"
    else
      fail "$desktop $what: picture-options $(gsettings get "$schema" picture-options)"
    fi
  done
}

keys X-Cinnamon org.cinnamon.desktop.background picture-uri
keys Budgie:GNOME org.gnome.desktop.background picture-uri picture-uri-dark
