#!/bin/sh
# Times the wallpaper conversion of a 6000 x 4000 JPEG (to the uncompressed PNG the Linux program
# writes) against libjpeg-turbo's own djpeg writing a BMP, and compares their peak memory. Run
# from the repository root:
#   bench/jpeg-vs-djpeg.sh [build-dir]        (default build/bench, the "bench" preset)
# Needs: hyperfine, djpeg (libjpeg-turbo-progs), ImageMagick, GNU time (/usr/bin/time), python3.
set -eu
build=${1:-build/bench}
. "$(dirname "$0")/photo.sh"

# Warm the page cache so both read from memory.
cat "$photo" > /dev/null

hyperfine --warmup 2 --runs 10 --export-json "$work/times.json" \
  -n djpeg "djpeg -bmp -outfile $work/djpeg.bmp $photo" \
  -n vellumo "$bench $photo $work/vellumo.png"

djpeg_kib=$(best_peak djpeg -bmp -outfile "$work/djpeg.bmp" "$photo")
ours_kib=$(best_peak "$bench" "$photo" "$work/vellumo.png")

# Our PNG, checked by Python's zlib (CRCs, Adler-32), must hold djpeg's pixels exactly.
ours=$("$bench" "$photo" "$work/vellumo.png" | cut -d' ' -f2)
echo "Written: $ours ($(stat -c %s "$ours") bytes; djpeg's BMP $(stat -c %s "$work/djpeg.bmp"))"
if python3 "$(dirname "$0")/png_pixels.py" "$ours" "$work/djpeg.bmp"; then
  echo "Pixels: identical to djpeg's BMP"
else
  echo "Pixels: DIFFER from djpeg's BMP"
fi

python3 - "$work/times.json" "$djpeg_kib" "$ours_kib" <<'PY'
import json, sys
times = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
djpeg, ours = times["djpeg"]["mean"], times["vellumo"]["mean"]
djpeg_kib, ours_kib = int(sys.argv[2]), int(sys.argv[3])
print(f"wall time  djpeg {djpeg*1000:7.1f} ms  vellumo {ours*1000:7.1f} ms  ratio {ours/djpeg:.3f} (target < 0.85)")
print(f"peak RSS   djpeg {djpeg_kib/1024:7.1f} MiB vellumo {ours_kib/1024:7.1f} MiB ratio {ours_kib/djpeg_kib:.3f} (target <= 0.25)")
PY
