#!/bin/sh
# Runs every fuzzer for SECONDS each (default 60) from freshly generated seeds, keeping what each
# finds in build/fuzz/corpus/; with 0, each runs over the seeds and its corpus once (CI's check).
# Build first: cmake --preset fuzz && cmake --build --preset fuzz.
# A single allocation over 256 MiB fails the run: the fuzzers decode at most 4 megapixels, and no
# such picture needs that much in one piece, so a larger one means a damaged length was trusted.
set -eu
cd "$(dirname "$0")/../.."
seconds=${1:-60}
length="-max_total_time=$seconds"
[ "$seconds" -gt 0 ] || length="-runs=0"
build=build/fuzz
sh tests/fuzz/make-seeds.sh "$build/seeds"
status=0
for target in bmp jpeg gif png exif; do
  corpus="$build/corpus/$target"
  log="$build/fuzz_$target.log"
  mkdir -p "$corpus"
  if "$build/tests/fuzz/fuzz_$target" "$length" -malloc_limit_mb=256 \
    -rss_limit_mb=2048 -artifact_prefix="$build/fuzz_$target-" "$corpus" "$build/seeds/$target" \
    >"$log" 2>&1; then
    echo "fuzz_$target: $(grep -E '^Done ' "$log")"
  else
    echo "fuzz_$target FAILED: $(grep -E '^(==|SUMMARY)' "$log" | head -2) (see $log)"
    status=1
  fi
done
exit $status
