#!/usr/bin/env bash
# Captures the change notice of a background run for a look by eye: a large picture behind a
# long path keeps the notice up while the picture is converted.
#
#   source scripts/wine-env.sh && tests/windows/ui/changing-screenshot.sh <build-dir> [out.png]
#
# Uses the settings of the prefix in WINEPREFIX (they are overwritten).
set -euo pipefail

build=${1:?build directory}
out=${2:-/tmp/changing.png}
: "${WINEPREFIX:?source scripts/wine-env.sh first}"

work="$build/screenshot"
folder="$work/Pictures/Holidays 2019/Summer on the coast/Evening walks/Along the harbour"
mkdir -p "$folder"
picture="$folder/sunset over the old lighthouse.jpg"
[ -f "$picture" ] || convert -size 6000x4000 gradient:orange-navy -quality 90 "$picture"

dos() { printf 'Z:%s' "$(realpath "$1" | tr / '\\')"; }
key='HKCU\Software\Vellumo\Settings'
set_value() { wine reg add "$key" /v "$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1; }
set_value sSourceFolder "$(dos "$folder")\\"
set_value iSourceType 1
set_value bRandom False
set_value bFadeOut True
set_value sLastFile ""

wine "$build/vellumo.exe" -next &
runner=$!
# The notice is up from the listing until the fade; keep the first capture that shows it.
for i in $(seq 40); do
  sleep 0.1
  import -window root "$work/shot-$i.png"
  if [ "$(convert "$work/shot-$i.png" -format '%[fx:mean]' info:)" != "0" ]; then
    cp "$work/shot-$i.png" "$out"
    echo "captured $out"
    break
  fi
done
wait "$runner" || true
