#!/usr/bin/env bash
# The Linux settings window's preview: decodes the 6000 x 4000 JPEG of bench/photo.sh for the
# preview (DecodePreview into 249 x 190, the preview area at 150 % dpi: libjpeg-turbo's DCT
# scaling at 1/8) and whole at full size (every row into one 32-bit buffer), each way in its own
# processes so that their peaks do not mix, and prints the time and peak memory of both and the
# ratios; then libjpeg-turbo's own `djpeg -scale 1/8` against `djpeg` on the same file, for
# scale. Run from the repository root:
#
#   bench/preview-vs-full-linux.sh [build-dir] [runs]
#
# Defaults: build/bench, 5 repetitions in each process. Three rounds alternate the two ways
# (preview, full, preview, ...) so that load from other jobs falls on both; times are the median
# of all repetitions, peaks the lowest of the three processes. djpeg is timed with hyperfine
# (2 warm-up runs, 10 timed runs each). Needs: ImageMagick, python3, hyperfine, djpeg.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/bench}
runs=${2:-5}
# shellcheck source=bench/photo.sh
. bench/photo.sh
cmake --build "$build" -j "$(nproc)" --target preview_decode_bench >/dev/null
decoder="$build/bench/preview_decode_bench"
cat "$photo" >/dev/null

: >"$work/preview.txt"
: >"$work/full.txt"
for _ in 1 2 3; do
  for mode in preview full; do
    "$decoder" --mode "$mode" --runs "$runs" "$photo" >>"$work/$mode.txt"
  done
done

python3 - "$work/preview.txt" "$work/full.txt" <<'PY'
import statistics, sys

def read(path):
    times, peaks = [], []
    for line in open(path):
        key, *values = line.split()
        if key == "run_ms":
            times += map(float, values)
        elif key == "peak_rss_kib":
            peaks.append(int(values[0]))
    return statistics.median(times), min(peaks) / 1024, len(times)

preview, full = read(sys.argv[1]), read(sys.argv[2])
print(f"{'':22}{'preview':>12}{'full':>12}{'ratio':>8}  target")
print(f"{'time (median of %d)' % preview[2]:22}{preview[0]:9.1f} ms{full[0]:9.1f} ms"
      f"{preview[0] / full[0]:8.3f}  < 0.25")
print(f"{'peak RSS':22}{preview[1]:8.1f} MiB{full[1]:8.1f} MiB"
      f"{preview[1] / full[1]:8.3f}  < 0.10")
PY

echo
echo "libjpeg-turbo's djpeg on the same file:"
hyperfine -N --warmup 2 --runs 10 --export-json "$work/djpeg.json" \
  "djpeg -scale 1/8 -outfile /dev/null $photo" "djpeg -outfile /dev/null $photo" >/dev/null
python3 - "$work/djpeg.json" <<'PY'
import json, sys
scaled, full = (r["mean"] * 1e3 for r in json.load(open(sys.argv[1]))["results"])
print(f"djpeg -scale 1/8 {scaled:.1f} ms, djpeg {full:.1f} ms, ratio {scaled / full:.3f}")
PY
echo "peak RSS: djpeg -scale 1/8 $(best_peak djpeg -scale 1/8 -outfile /dev/null "$photo") KiB," \
  "djpeg $(best_peak djpeg -outfile /dev/null "$photo") KiB"
