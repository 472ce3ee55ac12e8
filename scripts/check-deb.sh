#!/usr/bin/env bash
# Checks a built vellumo .deb end to end without installing it: its fields, that it has no
# maintainer scripts (installing and removing it touch nothing of the user's), a stripped
# program, and its files unpacked and run as tests/linux/install-test.sh runs an install.
# Usage: scripts/check-deb.sh vellumo_<version>_amd64.deb
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
deb=$(realpath "$1")
version=$(sed -n 's/^project(vellumo VERSION \([0-9.]*\).*/\1/p' "$repo/CMakeLists.txt")
id=$(sed -n 's/^set(VELLUMO_APP_ID "\(.*\)")/\1/p' "$repo/CMakeLists.txt")

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
chmod 755 "$scratch"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
field() { dpkg-deb -f "$deb" "$1"; }

[ "$(basename "$deb")" = "vellumo_${version}_amd64.deb" ] || fail "file name $(basename "$deb")"
[ "$(field Package)" = vellumo ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), not $version"
[ "$(field Section)" = graphics ] || fail "Section: $(field Section)"
[[ "$(field Maintainer)" == *"<"*@*">" ]] || fail "Maintainer: $(field Maintainer)"
# Found by dpkg-shlibdeps from the program's libraries.
for library in libc6 libqt6widgets6 libjpeg62-turbo libgif7 libpng16-16; do
  [[ ", $(field Depends)" == *", $library "* ]] || fail "Depends lacks $library: $(field Depends)"
done
[ "$(field Description | wc -l)" -gt 1 ] || fail "no long description"

dpkg-deb -e "$deb" "$scratch/control"
scripts=$(find "$scratch/control" -mindepth 1 ! -name control ! -name md5sums -printf '%f ')
[ -z "$scripts" ] || fail "maintainer scripts: $scripts"

dpkg-deb -c "$deb" | awk '{print $6}' | grep -q '^\./usr/bin/vellumo$' || fail "no ./usr/bin/vellumo"
dpkg-deb -x "$deb" "$scratch/root"
readelf -S "$scratch/root/usr/bin/vellumo" | grep -q '\.debug_info' && fail "the program is not stripped"

"$repo/tests/linux/install-test.sh" --installed "$scratch/root/usr" "$id" "$version" \
  "$repo/samples/pictures/Harbour at dusk.jpg" || fail "the unpacked files"

[ "$failures" -eq 0 ] || { echo "$(basename "$deb"): $failures failed"; exit 1; }
echo "$(basename "$deb"): fields, contents and the unpacked program: passed"
