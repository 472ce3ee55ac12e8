#!/usr/bin/env bash
# Draws the sample pictures in this folder with ImageMagick (seeded, so they come out the same).
set -euo pipefail
cd "$(dirname "$0")/pictures"
convert -seed 7 -size 1024x768 plasma:steelblue-navy -quality 85 "Harbour at dusk.jpg"
convert -seed 11 -size 1600x900 gradient:gold-darkorange -swirl 120 -quality 85 "Amber swirl.jpg"
convert -size 64x64 pattern:checkerboard -fill seagreen -opaque black -colors 8 "Tile pattern.gif"
convert -seed 3 -size 320x240 plasma:forestgreen-khaki -type truecolor "BMP3:Moss (4x3).bmp"
mkdir -p "Night sky"
convert -seed 5 -size 1280x960 plasma:black-midnightblue -quality 85 "Night sky/Nuit étoilée.jpg"
