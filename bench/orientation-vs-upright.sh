#!/bin/sh
# Converts a 6000 x 4000 JPEG to the wallpaper file (PNG) as stored (upright) and the same picture
# marked with EXIF orientation 6 (to be turned a quarter clockwise), in the same run, and
# compares time and peak memory, with djpeg's peak for reference. Run from the repository root:
#   bench/orientation-vs-upright.sh [build-dir]        (default build/bench, the "bench" preset)
# Needs: hyperfine, djpeg (libjpeg-turbo-progs), ImageMagick, GNU time (/usr/bin/time).
set -eu
build=${1:-build/bench}
. "$(dirname "$0")/photo.sh"
turned="$work/photo-6000x4000-orientation6.jpg"

# The same file with an EXIF segment holding orientation 6 right after the start marker.
python3 - "$photo" "$turned" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
exif = b"Exif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0\0\0\0\0"
segment = b"\xff\xe1" + (len(exif) + 2).to_bytes(2, "big") + exif
open(sys.argv[2], "wb").write(data[:2] + segment + data[2:])
PY
cat "$photo" "$turned" >/dev/null

hyperfine --warmup 2 --runs 10 --export-json "$work/orientation.json" \
  -n upright "$bench $photo $work/upright.png" \
  -n orientation6 "$bench $turned $work/turned.png"

upright_kib=$(best_peak "$bench" "$photo" "$work/upright.png")
turned_kib=$(best_peak "$bench" "$turned" "$work/turned.png")
djpeg_kib=$(best_peak djpeg -bmp -outfile "$work/djpeg.bmp" "$photo")
echo "sizes: upright $("$bench" "$photo" "$work/upright.png" | cut -d' ' -f1)," \
  "orientation 6 $("$bench" "$turned" "$work/turned.png" | cut -d' ' -f1)"

python3 - "$work/orientation.json" "$upright_kib" "$turned_kib" "$djpeg_kib" <<'PY'
import json, sys
times = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
up, turned = times["upright"]["mean"], times["orientation6"]["mean"]
up_kib, turned_kib, djpeg_kib = (int(v) for v in sys.argv[2:5])
print(f"wall time  upright {up*1000:7.1f} ms  orientation 6 {turned*1000:7.1f} ms  ratio {turned/up:.3f} (target < 1.30)")
print(f"peak RSS   upright {up_kib/1024:7.1f} MiB orientation 6 {turned_kib/1024:7.1f} MiB  djpeg {djpeg_kib/1024:7.1f} MiB (target: orientation 6 <= djpeg)")
PY
