#!/bin/sh
# Runs every fuzzer for SECONDS each (default 60) from freshly generated seeds, keeping what each
# finds in build/fuzz/corpus/. Build first: cmake --preset fuzz && cmake --build --preset fuzz.
# A single allocation over 256 MiB fails the run: the fuzzers decode at most 4 megapixels, and no
# such picture needs that much in one piece, so a larger one means a damaged length was trusted.
set -eu
cd "$(dirname "$0")/../.."
seconds=${1:-60}
build=build/fuzz
sh tests/fuzz/make-seeds.sh "$build/seeds"
status=0
for target in bmp jpeg gif png exif; do
  corpus="$build/corpus/$target"
  log="$build/fuzz_$target.log"
  mkdir -p "$corpus"
  if "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -malloc_limit_mb=256 \
    -rss_limit_mb=2048 -artifact_prefix="$build/fuzz_$target-" "$corpus" "$build/seeds/$target" \
    >"$log" 2>&1; then
    echo "fuzz_$target: $(grep -E '^Done ' "$log")"
  else
    echo "fuzz_$target FAILED: $(grep -E '^(==|SUMMARY)' "$log" | head -2) (see $log)"
    status=1
  fi
done
exit $status
