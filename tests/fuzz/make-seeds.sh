#!/bin/sh
# Writes small seed pictures for the decoder fuzzers: seeds/bmp, seeds/jpeg, seeds/gif, seeds/png
# (the reader of the wallpaper file; and seeds/exif, an EXIF segment for the orientation reader)
# under
# the folder given (default: build/fuzz/seeds). Needs ImageMagick.
set -eu
out=${1:-build/fuzz/seeds}
mkdir -p "$out/bmp" "$out/jpeg" "$out/gif" "$out/png" "$out/exif"
src="$out/source.ppm"
convert -size 13x7 gradient:red-blue -depth 8 "$src"

for fmt in bmp2 bmp3 bmp; do
  convert "$src" -type TrueColor "$fmt:$out/bmp/$fmt-24.bmp"
  convert "$src" -colors 16 -type Palette "$fmt:$out/bmp/$fmt-pal16.bmp"
  convert "$src" -colors 2 -type Bilevel "$fmt:$out/bmp/$fmt-mono.bmp"
done
convert "$src" -colors 200 -type Palette -compress RLE "bmp3:$out/bmp/rle8.bmp"
convert "$src" -colors 16 -type Palette -compress RLE "bmp3:$out/bmp/rle4.bmp"
convert "$src" -define bmp:subtype=RGB565 "bmp:$out/bmp/rgb565.bmp"
convert "$src" -alpha set -channel A -evaluate set 50% "bmp:$out/bmp/bgra.bmp"

convert "$src" -quality 80 "$out/jpeg/baseline.jpg"
convert "$src" -quality 80 -orient RightTop "$out/jpeg/oriented.jpg"
# An EXIF segment holding orientation 6, little-endian.
printf 'Exif\0\0II*\0\010\0\0\0\001\0\022\001\003\0\001\0\0\0\006\0\0\0\0\0\0\0' \
  >"$out/exif/orientation-6"
convert "$src" -interlace Plane "$out/jpeg/progressive.jpg"
convert "$src" -colorspace Gray "$out/jpeg/gray.jpg"
convert "$src" -colorspace CMYK "$out/jpeg/cmyk.jpg"
convert "$src" -sampling-factor 1x1 -define jpeg:restart-interval=1 "$out/jpeg/restart.jpg"

convert "$src" -colors 32 "$out/gif/plain.gif"
convert "$src" -colors 8 -interlace GIF "$out/gif/interlaced.gif"
convert -size 9x9 xc:none -fill red -draw 'rectangle 2,2 5,5' "$out/gif/transparent.gif"
convert -delay 10 "$src" \( "$src" -negate \) -loop 0 "$out/gif/animated.gif"
convert -size 20x20 xc:blue \( -size 5x4 xc:yellow \) -geometry +3+6 -compose copy -composite \
  -set page 20x20+3+6 -crop 5x4+3+6 "$out/gif/offset.gif"
# Uncompressed, as the converter writes it, and the other kinds of PNG the reader expands.
convert "$src" -define png:compression-level=0 -define png:color-type=2 "$out/png/stored-rgb.png"
convert "$src" -colorspace Gray "$out/png/gray.png"
convert "$src" -colors 16 -type Palette "$out/png/palette.png"
convert "$src" -alpha set -channel A -evaluate set 50% "$out/png/rgba.png"
convert "$src" -depth 16 "$out/png/rgb16.png"
rm -f "$src"
