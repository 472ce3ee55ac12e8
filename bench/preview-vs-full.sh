#!/usr/bin/env bash
# Decodes a 6000 x 4000 JPEG for the settings window's preview (DecodePreview into 249 x 190, the
# preview area at 150 % dpi) and whole at full size (WIC frame, 32-bit converter, one full-size
# buffer), each way in its own processes under Wine so that their peaks do not mix, and prints
# the time and peak memory of both and the ratios. Run from the repository root:
#
#   source scripts/wine-env.sh && bench/preview-vs-full.sh [windows-build] [runs]
#
# Defaults: build/windows, 5 repetitions in each process. Three rounds alternate the two ways
# (preview, full, preview, ...) so that load from other jobs falls on both; times are the median
# of all repetitions, peaks the lowest of the three processes.
# Needs: ImageMagick (installed with apt-get when missing), python3.
set -euo pipefail

build=${1:-build/windows}
runs=${2:-5}
: "${WINEPREFIX:?source scripts/wine-env.sh first}"

work="$build/bench-data"
photo="$work/photo-6000x4000.jpg"
mkdir -p "$work"
if ! command -v convert >/dev/null; then
  echo "Installing ImageMagick ..."
  apt-get install -y imagemagick >/dev/null
fi
if [ ! -f "$photo" ]; then
  echo "Generating $photo ..."
  convert -size 6000x4000 -seed 7 plasma:fractal -blur 0x1 -quality 90 "$photo"
fi
cat "$photo" >/dev/null

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" -j "$(nproc)" --target vellumo_preview_bench
bench="$build/bench/vellumo_preview_bench.exe"

: >"$work/preview.txt"
: >"$work/full.txt"
for _ in 1 2 3; do
  for mode in preview full; do
    wine "$bench" --mode "$mode" --runs "$runs" "$photo" >>"$work/$mode.txt"
  done
done

python3 - "$work/preview.txt" "$work/full.txt" <<'PY'
import statistics, sys

def read(path):
    times, working_set, pagefile = [], [], []
    for line in open(path):
        key, *values = line.split()
        if key == "run_ms":
            times += map(float, values)
        elif key == "peak_working_set_kib":
            working_set.append(int(values[0]))
        elif key == "peak_pagefile_kib":
            pagefile.append(int(values[0]))
    return statistics.median(times), min(working_set) / 1024, min(pagefile) / 1024, len(times)

preview, full = read(sys.argv[1]), read(sys.argv[2])
print(f"{'':22}{'preview':>12}{'full':>12}{'ratio':>8}  target")
print(f"{'time (median of %d)' % preview[3]:22}{preview[0]:9.1f} ms{full[0]:9.1f} ms"
      f"{preview[0] / full[0]:8.3f}  < 0.25")
print(f"{'peak working set':22}{preview[1]:8.1f} MiB{full[1]:8.1f} MiB"
      f"{preview[1] / full[1]:8.3f}  < 0.10")
print(f"{'peak pagefile usage':22}{preview[2]:8.1f} MiB{full[2]:8.1f} MiB"
      f"{preview[2] / full[2]:8.3f}")
PY
