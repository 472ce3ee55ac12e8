# Shared by the JPEG benchmark scripts (sourced, POSIX sh): builds the converter benchmark and
# makes the 6000 x 4000 test photo, and measures peak memory.
#   . bench/photo.sh   with $build set; gives $work, $photo and $bench.
work="$build/bench-data"
photo="$work/photo-6000x4000.jpg"
mkdir -p "$work"

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake --preset bench
fi
cmake --build "$build" -j "$(nproc)" --target convert_bench
bench="$build/bench/convert_bench"

if [ ! -f "$photo" ]; then
  echo "Generating $photo ..."
  convert -size 6000x4000 -seed 7 plasma:fractal -blur 0x1 -quality 90 "$photo"
fi

peak_kib() {
  /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F: '/Maximum resident set size/ {gsub(/ /, "", $2); print $2}'
}
best_peak() {  # the smallest of three runs: page-cache and allocator noise only add
  a=$(peak_kib "$@"); b=$(peak_kib "$@"); c=$(peak_kib "$@")
  printf '%s\n%s\n%s\n' "$a" "$b" "$c" | sort -n | head -1
}
