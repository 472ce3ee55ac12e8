#!/usr/bin/env python3
"""Makes a tree of 111 110 empty files with picture names in 11 111 folders five levels deep
(ten pictures and ten sub-folders in each folder), for timing list building and list filling:

    bench/picture-tree.py TREE

Does nothing when TREE/.complete exists."""
import os
import shutil
import sys

EXTENSIONS = [".jpg", ".JPEG", ".gif", ".bmp", ".jpeg"]


def make(path, depth):
    os.makedirs(path, exist_ok=True)
    for i in range(10):
        open(os.path.join(path, f"picture {i:02d}{EXTENSIONS[i % 5]}"), "w").close()
    if depth < 4:
        for i in range(10):
            make(os.path.join(path, f"folder {i}"), depth + 1)


tree = sys.argv[1]
if not os.path.exists(os.path.join(tree, ".complete")):
    print(f"Generating the tree under {tree} ...")
    shutil.rmtree(tree, ignore_errors=True)  # what an interrupted run left
    make(tree, 0)
    open(os.path.join(tree, ".complete"), "w").close()
