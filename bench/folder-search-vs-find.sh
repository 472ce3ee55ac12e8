#!/usr/bin/env bash
# Times building the image list of a folder tree (about 110 000 files in 11 000 folders) against
# GNU find with the same name filter, warm cache, in the same run, and prints the ratio.
#
#   bench/folder-search-vs-find.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10}

cmake --preset bench >/dev/null
cmake --build --preset bench -j "$(nproc)" --target list_build_bench >/dev/null
bench=build/bench/bench/list_build_bench

tree=build/bench/tree
if [ ! -f "$tree/.complete" ]; then
  echo "Generating the tree under $tree ..."
  rm -rf "$tree"
  python3 - "$tree" <<'PY'
import os, sys
root = sys.argv[1]
exts = [".jpg", ".JPEG", ".gif", ".bmp", ".txt", ".png", ".jpg", ".jpg", ".gif", ".doc"]
folders = 0
def make(path, depth):
    global folders
    os.makedirs(path, exist_ok=True)
    folders += 1
    for i in range(10):
        open(os.path.join(path, f"picture {i:02d}{exts[i]}"), "w").close()
    if depth < 4:
        for i in range(10):
            make(os.path.join(path, f"folder {i}"), depth + 1)
make(root, 0)   # 11 111 folders, 111 110 files
open(os.path.join(root, ".complete"), "w").close()
print(f"{folders} folders")
PY
fi

filter=(-iname '*.bmp' -o -iname '*.jpg' -o -iname '*.jpeg' -o -iname '*.gif')
echo "pictures found: ours $("$bench" "$tree/") / find $(find "$tree" -type f \( "${filter[@]}" \) | wc -l)"

hyperfine --warmup 3 --runs "$runs" --export-json build/bench/search.json \
  "$bench '$tree/'" \
  "find '$tree' -type f \\( -iname '*.bmp' -o -iname '*.jpg' -o -iname '*.jpeg' -o -iname '*.gif' \\)" \
  >/dev/null
python3 - <<'PY'
import json
r = json.load(open("build/bench/search.json"))["results"]
ours, find = r[0]["mean"], r[1]["mean"]
print(f"list building: {ours*1000:.1f} ms, find: {find*1000:.1f} ms, ratio ours/find = {ours/find:.2f}")
PY
