#!/usr/bin/env bash
# The Linux settings window's preview through the shared thumbnail cache, on the 6000 x 4000
# JPEG of bench/photo.sh at 150 % dpi, against a full decode of the same picture: from the cache
# (a thumbnail the cache holds), the first preview (decoded, then the thumbnail written) and the
# preview decoded as without a cache. Three rounds alternate the four ways so that load from
# other jobs falls on all; medians of all repetitions. Run from the repository root:
#
#   bench/preview-thumbnails-linux.sh [build-dir] [runs]
#
# Defaults: build/bench, 5 repetitions in each process. Needs: ImageMagick, python3.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/bench}
runs=${2:-5}
# shellcheck source=bench/photo.sh
. bench/photo.sh
cmake --build "$build" -j "$(nproc)" --target preview_decode_bench thumbnail_bench >/dev/null
cat "$photo" >/dev/null

for mode in full preview first cached; do : >"$work/thumbnails-$mode.txt"; done
for _ in 1 2 3; do
  "$build/bench/preview_decode_bench" --mode full --runs "$runs" "$photo" >>"$work/thumbnails-full.txt"
  for mode in preview first cached; do
    "$build/bench/thumbnail_bench" --mode "$mode" --runs "$runs" "$photo" \
      >>"$work/thumbnails-$mode.txt"
  done
done

python3 - "$work" <<'PY'
import statistics, sys

def median(mode):
    times = []
    for line in open(f"{sys.argv[1]}/thumbnails-{mode}.txt"):
        key, *values = line.split()
        if key == "run_ms":
            times += map(float, values)
    return statistics.median(times)

full, preview, first, cached = (median(m) for m in ("full", "preview", "first", "cached"))
print(f"full decode                 {full:8.2f} ms")
print(f"preview, no cache           {preview:8.2f} ms  {preview / full:6.3f} x full")
print(f"first preview, thumbnail    {first:8.2f} ms  {first / full:6.3f} x full (target < 0.3),"
      f" {first / preview:5.3f} x no cache (target <= 1.10)")
print(f"preview from the cache      {cached:8.2f} ms  {cached / full:6.3f} x full (target < 0.05)")
PY
