#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs from it: the
# program, its desktop file, metainfo and icons under the one id (validated when the validators
# are installed), and the installed program itself: its version, and a change whose wallpaper
# goes quietly to the user's data folder when the program's own folder cannot be written.
# Usage: install-test.sh BUILD_DIR APP_ID VERSION PICTURE
#        install-test.sh --installed PREFIX APP_ID VERSION PICTURE   (files installed already,
#        as a package unpacked: PREFIX and the folders above it readable by everyone)
set -euo pipefail
installed=false
[ "$1" = --installed ] && { installed=true; shift; }
id=$2 version=$3 picture=$4

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
chmod 755 "$scratch"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

if $installed; then
  prefix=$1
else
  prefix=$scratch/prefix
  cmake --install "$1" --prefix "$prefix" >/dev/null
fi

share=$prefix/share
expected=(bin/vellumo "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml"
  "share/icons/hicolor/scalable/apps/$id.svg")
for size in 16 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x$size/apps/$id.png")
done
for file in "${expected[@]}"; do [ -s "$prefix/$file" ] || fail "not installed: $file"; done
[ -x "$prefix/bin/vellumo" ] || fail "bin/vellumo is not executable"
# Nothing else: a library's or a test's install rule would land in the package too.
extra=$(find "$prefix" -type f -printf '%P\n' | grep -vxF -f <(printf '%s\n' "${expected[@]}")) ||
  true
[ -z "$extra" ] || fail "installed but not expected: $extra"

grep -qx "Icon=$id" "$share/applications/$id.desktop" || fail "the desktop file's Icon is not $id"
grep -q "<release version=\"$version\"" "$share/metainfo/$id.metainfo.xml" ||
  fail "the metainfo's release is not $version"
# A PNG's width and height follow its signature and the IHDR chunk's length and name.
[ "$(od -An -tx1 -j12 -N12 "$share/icons/hicolor/48x48/apps/$id.png" | tr -d ' \n')" = \
  494844520000003000000030 ] || fail "the 48 pixel icon is not a 48 x 48 PNG"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$share/applications/$id.desktop" || fail "desktop-file-validate"
else
  echo "desktop-file-validate not installed: the desktop file is not validated"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net --no-color "$share/metainfo/$id.metainfo.xml" >"$scratch/as.log" ||
    { cat "$scratch/as.log"; fail "appstreamcli validate"; }
else
  echo "appstreamcli not installed: the metainfo is not validated"
fi

[ "$("$prefix/bin/vellumo" --version)" = "vellumo $version" ] || fail "vellumo --version"

# A change by a user who cannot write beside the program: root runs it as nobody.
user=$scratch/user
mkdir -p "$user/home" "$user/config/vellumo" "$user/data" "$user/runtime" "$user/tools" \
  "$user/pictures"
cp "$picture" "$user/pictures/"
printf '[Settings]\niSourceType=1\nsSourceFolder=%s/\n' "$user/pictures" \
  >"$user/config/vellumo/settings.ini"
# The GNOME desktop's tool, standing in: every setting reads as empty, every change succeeds.
cat >"$user/tools/gsettings" <<'SH'
#!/bin/sh
[ "$1" = get ] && echo "''"
exit 0
SH
chmod 755 "$user/tools/gsettings"
chmod 700 "$user/runtime"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  chown -R 65534:65534 "$user"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
else
  chmod a-w "$prefix/bin"
fi
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_SESSION_TYPE -u DESKTOP_SESSION HOME="$user/home" \
  XDG_CONFIG_HOME="$user/config" XDG_DATA_HOME="$user/data" XDG_RUNTIME_DIR="$user/runtime" \
  XDG_CURRENT_DESKTOP=GNOME PATH="$user/tools:/usr/bin:/bin" \
  "${as_user[@]}" "$prefix/bin/vellumo" -next 2>"$scratch/stderr" || status=$?
[ "$status" -eq 0 ] || fail "vellumo -next ended with $status: $(cat "$scratch/stderr")"
[ "$(cat "$scratch/stderr")" = "vellumo: desktop: GNOME (XDG_CURRENT_DESKTOP=GNOME)" ] ||
  fail "vellumo -next said more than its desktop: $(cat "$scratch/stderr")"
wallpapers=("$user"/data/vellumo/vellumo-??????.png)
[ -f "${wallpapers[0]}" ] || fail "no wallpaper in the data folder: $(ls "$user/data/vellumo/")"
[ "$(ls "$prefix/bin")" = vellumo ] || fail "files left beside the program: $(ls "$prefix/bin")"
chmod -R u+w "$prefix"

[ "$failures" -eq 0 ] || { echo "$failures failed"; exit 1; }
echo "installed files, validators, --version and a change from the installed program: passed"
