#!/usr/bin/env bash
# Opening the settings window on a folder tree of 111 110 pictures in 11 111 folders: the time
# the Windows program (under Wine) takes to build the image list, the time filling the window's
# list box adds to it, and, for scale, the Linux program's headless list building of the same
# tree, in the same run. Run from the repository root:
#
#   source scripts/wine-env.sh && bench/list-fill-vs-build.sh [windows-build] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."

windows_build=${1:-build/windows}
runs=${2:-5}
: "${WINEPREFIX:?source scripts/wine-env.sh first}"

cmake --build "$windows_build" -j "$(nproc)" --target vellumo_list_fill_bench >/dev/null
cmake --preset bench >/dev/null
cmake --build --preset bench -j "$(nproc)" --target list_build_bench >/dev/null

tree=build/bench/picture-tree
bench/picture-tree.py "$tree"

windows_tree="Z:$(realpath "$tree" | tr / '\\')\\"
linux_tree="$(realpath "$tree")/"
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
: >build/bench/fill.txt
: >build/bench/linux-build.txt
for i in $(seq "$runs"); do
  wine "$windows_build/bench/vellumo_list_fill_bench.exe" "$windows_tree" | tr -d '\r' |
    tee -a build/bench/fill.txt
  start=$(date +%s%N)
  build/bench/bench/list_build_bench "$linux_tree" >/dev/null
  echo "$((($(date +%s%N) - start) / 1000000))" >>build/bench/linux-build.txt
done
alone=$(sed -n 's/.*alone \([0-9.]*\) ms.*/\1/p' build/bench/fill.txt | median)
build=$(sed -n 's/.*build \([0-9.]*\) ms.*/\1/p' build/bench/fill.txt | median)
fill=$(sed -n 's/.*fill \([0-9.]*\) ms.*/\1/p' build/bench/fill.txt | median)
linux=$(median <build/bench/linux-build.txt)
echo "medians of $runs runs: Windows list building alone $alone ms; with its progress drawn" \
  "$build ms, list box fill $fill ms: window $(awk "BEGIN { printf \"%.2f\", ($build + $fill) / $alone }")" \
  "x the list building alone (target <= 1.5); Linux headless list building $linux ms"
