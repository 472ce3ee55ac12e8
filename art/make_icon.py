#!/usr/bin/env python3
"""Draws the program's icon (a framed landscape: sky, sun and two hills) and writes it as a
32-bit ICO with 16, 32, 48, 64, 128 and 256 pixel images. Run from anywhere:
python3 make_icon.py [out.ico] (the default is vellumo.ico beside this script)."""

import os
import struct
import sys

SIZES = (16, 32, 48, 64, 128, 256)
SAMPLES = 4  # per axis, for anti-aliased edges


def inside_rounded_square(x, y, inset, radius):
    """True when (x, y) in unit coordinates lies in a square inset from the edges with round corners."""
    lo, hi = inset, 1.0 - inset
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def colour_at(x, y):
    """RGBA of the motif at unit coordinates, y growing downwards; None is transparent."""
    if not inside_rounded_square(x, y, 0.03, 0.16):
        return None
    if not inside_rounded_square(x, y, 0.11, 0.09):
        return (70, 78, 96, 255)  # frame
    if (x - 0.68) ** 2 + (y - 0.33) ** 2 <= 0.12 ** 2:
        return (255, 204, 64, 255)  # sun
    back_hill = 0.66 + 0.16 * ((x - 0.30) * 2.2) ** 2
    front_hill = 0.78 + 0.14 * ((x - 0.78) * 2.4) ** 2
    if y >= front_hill:
        return (46, 139, 87, 255)
    if y >= back_hill:
        return (96, 178, 96, 255)
    t = (y - 0.11) / 0.78  # sky, lighter towards the horizon
    return (int(64 + 100 * t), int(136 + 80 * t), int(220 + 30 * t), 255)


def render(size):
    """Bottom-up BGRA rows of the motif at `size` pixels, averaged over SAMPLES x SAMPLES."""
    rows = []
    for py in range(size - 1, -1, -1):
        row = bytearray()
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_at((px + (sx + 0.5) / SAMPLES) / size, (py + (sy + 0.5) / SAMPLES) / size)
                    if c is None:
                        continue
                    for i in range(3):
                        acc[i] += c[i] * c[3]
                    acc[3] += c[3]
            n = SAMPLES * SAMPLES
            alpha = acc[3] // n
            rgb = [acc[i] // acc[3] if acc[3] else 0 for i in range(3)]
            row += bytes((rgb[2], rgb[1], rgb[0], alpha))
        rows.append(bytes(row))
    return rows


def icon_image(size):
    """One ICO image: BITMAPINFOHEADER (double height), BGRA pixels, then the 1-bit AND mask."""
    rows = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in rows:
        bits = bytearray(mask_stride)
        for px in range(size):
            if row[px * 4 + 3] == 0:
                bits[px // 8] |= 0x80 >> (px % 8)
        mask += bits
    return header + b"".join(rows) + bytes(mask)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "vellumo.ico")
    images = [icon_image(s) for s in SIZES]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(SIZES, images):
        data += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(out, "wb") as f:
        f.write(data + b"".join(images))


if __name__ == "__main__":
    main()
